#include "aifextras.h"

#include <tuple>

bool TAifExtras::TPart::operator<(const TPart &other) const
{
    return std::tie(reason, conclusion, exception)
           < std::tie(other.reason, other.conclusion, other.exception);
}

std::string_view SchemeName(const TAifExtras &extras, const std::string &reason,
                            const std::string &conclusion, const std::string &exception)
{
    const auto part = extras.partIds.find({reason, conclusion, exception});
    if (part == extras.partIds.end())
        return {};
    const auto scheme = extras.schemes.find(part->second);
    return scheme == extras.schemes.end() ? std::string_view() : std::string_view(scheme->second);
}
