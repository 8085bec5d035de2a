#pragma once

#include <QString>

#include <string>
#include <string_view>

// The one crossing between the model's UTF-8 std::string and Qt's QString, both ways.

// The model's UTF-8 text as a QString; invalid bytes become replacement characters.
inline QString qtText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The QString as UTF-8 bytes for the model.
inline std::string modelText(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
