#pragma once

// Writing and reading argument trees as short text, for tables of cases:
//   a            an argument without initial arguments
//   a<-b         one initial argument
//   a<-(b<-c,d)  several, in order
// Names are statement texts of letters, digits and blanks.

#include "model/arena.h"
#include "model/argument.h"

#include <cctype>
#include <map>
#include <string>
#include <string_view>

namespace trees {

// Reads a tree. With `shared`, equal names give one statement object; otherwise each name
// occurrence gets a statement object of its own.
inline TArgument *Parse(TArena &arena, std::string_view text,
                        std::map<std::string, TStatement *> *shared = nullptr)
{
    std::size_t at = 0;
    auto parse = [&](auto &self) -> TArgument * {
        std::string name;
        while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) ||
                                    text[at] == ' ' || text[at] == '\''))
            name += text[at++];
        TStatement *statement = nullptr;
        if (shared && shared->contains(name)) {
            statement = shared->at(name);
        } else {
            statement = arena.NewStatement();
            statement->Text = name;
            if (shared)
                (*shared)[name] = statement;
        }
        TArgument *argument = arena.NewArgument(statement);
        if (text.substr(at, 2) == "<-") {
            at += 2;
            if (at < text.size() && text[at] == '(') {
                ++at;
                for (;;) {
                    argument->InitialArguments.Add(self(self));
                    if (at < text.size() && text[at] == ',') {
                        ++at;
                        continue;
                    }
                    ++at; // ')'
                    break;
                }
            } else {
                argument->InitialArguments.Add(self(self));
            }
        }
        return argument;
    };
    return parse(parse);
}

// Writes a tree in the notation Parse reads; recursive, so for small trees only.
inline std::string Show(const TArgument &argument)
{
    std::string out = argument.Conclusion->Text;
    const TArguments &children = argument.InitialArguments;
    if (children.IsEmpty())
        return out;
    out += "<-";
    if (children.Count() > 1)
        out += '(';
    for (int i = 0; i < children.Count(); ++i) {
        if (i > 0)
            out += ',';
        out += Show(*children[i]);
    }
    if (children.Count() > 1)
        out += ')';
    return out;
}

} // namespace trees
