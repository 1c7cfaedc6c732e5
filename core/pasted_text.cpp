#include "core/pasted_text.h"

#include "core/support_rate.h"

#include <algorithm>

namespace pomelak {

namespace {

// The text with full-width digits, point, percent sign and comma (U+FF10 to U+FF19, U+FF0E, U+FF05,
// U+FF0C, in UTF-8 EF BC xx) and the ideographic space (U+3000) in their half-width forms, and its line
// ends made LF.
std::string halfWidth(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        const auto last = static_cast<unsigned char>(rest.size() >= 3 ? rest[2] : 0);
        char half = '\0';
        if (rest.starts_with("\xE3\x80\x80")) {
            half = ' ';
        } else if (rest.starts_with("\xEF\xBC")) {
            half = last >= 0x90 && last <= 0x99 ? static_cast<char>('0' + (last - 0x90))
                   : last == 0x8E               ? '.'
                   : last == 0x85               ? '%'
                   : last == 0x8C               ? ','
                                                : '\0';
        }
        if (half != '\0') {
            out += half;
            i += 2;
        } else if (text[i] == '\r') {
            out += rest.starts_with("\r\n") ? "" : "\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string_view trimmed(std::string_view text, std::string_view blanks) {
    const std::size_t start = std::min(text.find_first_not_of(blanks), text.size());
    return text.substr(start, text.find_last_not_of(blanks) + 1 - start);
}

// The fields of a line: split at tabs, commas and semicolons, each part then at its runs of blanks; a part
// with nothing in it is one empty field.
std::vector<std::string> fieldsOf(std::string_view line) {
    std::vector<std::string> fields;
    line = trimmed(line, " \t");
    for (std::size_t start = 0; !line.empty() && start <= line.size();) {
        const std::size_t end = std::min(line.find_first_of("\t,;", start), line.size());
        std::string_view part = trimmed(line.substr(start, end - start), " ");
        do {
            const std::size_t blank = std::min(part.find(' '), part.size());
            fields.emplace_back(part.substr(0, blank));
            part = trimmed(part.substr(blank), " ");
        } while (!part.empty());
        start = end + 1;
    }
    return fields;
}

} // namespace

RatePaste readPastedRates(std::string_view text, int match, int column) {
    std::vector<std::vector<std::string>> lines;
    const std::string half = halfWidth(text);
    std::size_t fieldCount = 0;
    for (std::size_t start = 0; start <= half.size();) {
        const std::size_t end = std::min(half.find('\n', start), half.size());
        lines.push_back(fieldsOf(std::string_view(half).substr(start, end - start)));
        fieldCount += lines.back().size();
        start = end + 1;
    }
    const auto firstLine = std::ranges::find_if(lines, [](const auto& fields) { return !fields.empty(); });
    const auto lastLine = std::ranges::find_if(lines.rbegin(), lines.rend(),
                                               [](const auto& fields) { return !fields.empty(); });
    RatePaste paste;
    paste.block = fieldCount > 1;
    const auto refuse = [&paste](PasteRefusal why, int line, int field, const std::string& text) {
        paste = {true, {}, why, line + 1, field + 1, text};
        return paste;
    };
    for (auto fields = firstLine; paste.block && fields != lastLine.base(); ++fields) {
        const auto line = static_cast<int>(fields - firstLine);
        if (fields->empty()) {
            return refuse(PasteRefusal::EmptyLine, line, 0, {});
        }
        if (match + line >= kMatchCount) {
            return refuse(PasteRefusal::BelowLastMatch, line, 0, fields->front());
        }
        for (int field = 0; field < static_cast<int>(fields->size()); ++field) {
            const std::string& asPasted = (*fields)[static_cast<std::size_t>(field)];
            const std::string rate =
                asPasted.ends_with('%') ? asPasted.substr(0, asPasted.size() - 1) : asPasted;
            if (column + field >= kColumnCount) {
                return refuse(PasteRefusal::RightOfAwayColumn, line, field, asPasted);
            }
            if (asPasted.empty()) {
                return refuse(PasteRefusal::EmptyField, line, field, asPasted);
            }
            if (rate.empty() || rateTextLength(rate) != rate.size()) {
                return refuse(PasteRefusal::NotANumber, line, field, asPasted);
            }
            paste.rates.push_back({match + line, column + field, rate});
        }
    }
    return paste;
}

std::optional<MatchResults> readPastedResults(std::string_view text) {
    MatchResults results{};
    std::size_t count = 0;
    for (const char c : halfWidth(text)) {
        const std::size_t outcome = std::string_view("102").find(c);
        if (outcome != std::string_view::npos && count < results.size()) {
            results[count++] = OutcomeOfColumn(static_cast<int>(outcome));
        } else if (outcome != std::string_view::npos ||
                   std::string_view(" \t,\n").find(c) == std::string_view::npos) {
            return std::nullopt;
        }
    }
    return count == results.size() ? std::optional(results) : std::nullopt;
}

} // namespace pomelak
