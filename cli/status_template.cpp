// status_template.cpp: reads a --format template once and fills it for each outcome.
#include "cli/status_template.h"

#include "cli/command.h"

namespace quirnctl {

namespace {

std::string FieldList() {
    std::string list = "result";
    for (const StatusField& field : StatusFields()) {
        list += ", ";
        list += field.name;
    }
    return list;
}

}  // namespace

StatusTemplate StatusTemplate::Parse(std::string_view format) {
    StatusTemplate parsed;
    Piece piece{"", nullptr, false};
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        const bool doubled = i + 1 < format.size() && format[i + 1] == c;
        if ((c == '{' || c == '}') && doubled) {
            piece.literal += c;
            ++i;
        } else if (c == '}') {
            throw UsageError("the format has a } at byte " + std::to_string(i + 1) +
                             " that closes nothing (write }} for a brace)");
        } else if (c == '{') {
            const std::size_t close = format.find_first_of("{}", i + 1);
            if (close == std::string_view::npos || format[close] == '{') {
                throw UsageError("the format's { at byte " + std::to_string(i + 1) +
                                 " is not closed (write {{ for a brace)");
            }
            const std::string_view name = format.substr(i + 1, close - i - 1);
            if (name == "result") {
                piece.result = true;
            } else if ((piece.field = FindStatusField(name)) == nullptr) {
                throw UsageError("the format names an unknown field {" + std::string(name) +
                                 "}; fields: " + FieldList());
            }
            parsed.pieces_.push_back(std::move(piece));
            piece = Piece{"", nullptr, false};
            i = close;
        } else {
            piece.literal += c;
        }
    }
    parsed.pieces_.push_back(std::move(piece));
    return parsed;
}

std::string StatusTemplate::Render(int result, const lumora::RouterStatus* status) const {
    std::string out;
    for (const Piece& piece : pieces_) {
        out += piece.literal;
        if (piece.result) {
            out += std::to_string(result);
        } else if (piece.field != nullptr && status != nullptr) {
            out += OnOneLine(piece.field->value(*status));
        }
    }
    out += '\n';
    return out;
}

}  // namespace quirnctl
