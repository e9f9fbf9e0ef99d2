// Reading and spelling number patterns.
#include "registry/NumberPattern.h"

#include "db/Engine.h"

namespace velmora {

namespace {

constexpr size_t longestPattern = 40;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string zeroPadded(int64_t n, int width)
{
    std::string digits = std::to_string(n);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return digits;
}

}  // namespace

std::optional<NumberPattern> NumberPattern::parse(const std::string& text, std::string* why)
{
    auto refuse = [&](const std::string& reason) -> std::optional<NumberPattern> {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (text.size() > longestPattern)
        return refuse("the pattern is longer than " + std::to_string(longestPattern) + " characters");
    NumberPattern pattern;
    pattern.text_ = text;
    int numbers = 0;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return refuse("the pattern holds a control character");
        if (c == '}') return refuse("a \"}\" closes no part");
        if (c != '{') {
            if (pattern.parts_.empty() || pattern.parts_.back().kind != Kind::Text)
                pattern.parts_.push_back({Kind::Text, "", 0});
            pattern.parts_.back().text += text[i++];
            continue;
        }
        size_t close = text.find('}', i);
        if (close == std::string::npos) return refuse("a \"{\" is not closed");
        std::string name = text.substr(i + 1, close - i - 1);
        if (name == "n") pattern.parts_.push_back({Kind::Number, "", 0});
        else if (name.size() == 3 && name.compare(0, 2, "n:") == 0 && name[2] >= '1' && name[2] <= '9')
            pattern.parts_.push_back({Kind::Number, "", name[2] - '0'});
        else if (name == "yyyy") pattern.parts_.push_back({Kind::Year, "", 0});
        else if (name == "yy") pattern.parts_.push_back({Kind::ShortYear, "", 0});
        else return refuse("{" + name + "} is not a part; the parts are {n}, {n:W} (W digits), {yyyy} and {yy}");
        if (pattern.parts_.back().kind == Kind::Number) ++numbers;
        i = close + 1;
    }
    if (numbers != 1) return refuse("the pattern must hold the number ({n}) exactly once");
    return pattern;
}

bool NumberPattern::isPlainNumber() const
{
    return parts_.size() == 1 && parts_[0].kind == Kind::Number && parts_[0].width == 0;
}

bool NumberPattern::hasYear() const
{
    for (const Part& p : parts_)
        if (p.kind == Kind::Year || p.kind == Kind::ShortYear) return true;
    return false;
}

std::string NumberPattern::spell(int64_t n, int year) const
{
    std::string value;
    for (const Part& p : parts_) {
        switch (p.kind) {
        case Kind::Text: value += p.text; break;
        case Kind::Number: value += zeroPadded(n, p.width); break;
        case Kind::Year: value += zeroPadded(year, 4); break;
        case Kind::ShortYear: value += zeroPadded(year % 100, 2); break;
        }
    }
    return value;
}

// Whether value[at..] is spelled by parts_[part..]; the number read goes to
// `n`. A number takes as many digits as lets the rest match.
bool NumberPattern::matches(const std::string& value, size_t at, size_t part, std::optional<int> year, int64_t* n) const
{
    if (part == parts_.size()) return at == value.size();
    const Part& p = parts_[part];
    switch (p.kind) {
    case Kind::Text:
        return value.compare(at, p.text.size(), p.text) == 0 && matches(value, at + p.text.size(), part + 1, year, n);
    case Kind::Year:
    case Kind::ShortYear: {
        size_t digits = p.kind == Kind::Year ? 4 : 2;
        if (at + digits > value.size()) return false;
        for (size_t i = 0; i < digits; ++i)
            if (!isDigit(value[at + i])) return false;
        int wanted = year ? (p.kind == Kind::Year ? *year : *year % 100) : 0;
        if (year && value.compare(at, digits, zeroPadded(wanted, static_cast<int>(digits))) != 0) return false;
        return matches(value, at + digits, part + 1, year, n);
    }
    case Kind::Number: {
        size_t end = at;
        while (end < value.size() && isDigit(value[end])) ++end;
        // At most 18 digits: what an int64 surely holds.
        for (size_t stop = end; stop > at; --stop) {
            if (stop - at > 18 || stop - at < static_cast<size_t>(p.width)) continue;
            if (matches(value, stop, part + 1, year, n)) {
                *n = std::stoll(value.substr(at, stop - at));
                return true;
            }
        }
        return false;
    }
    }
    return false;
}

std::optional<int64_t> NumberPattern::numberIn(const std::string& value, std::optional<int> year) const
{
    int64_t n = 0;
    if (!matches(value, 0, 0, year, &n)) return std::nullopt;
    return n;
}

std::string NumberPattern::sqlExpression(bool postgres, const std::string& number, const std::string& year) const
{
    if (isPlainNumber()) return number;
    std::string sql;
    for (const Part& p : parts_) {
        if (!sql.empty()) sql += " || ";
        switch (p.kind) {
        case Kind::Text: sql += db::quoteText(p.text); break;
        case Kind::Number:
            if (p.width == 0) sql += postgres ? "(" + number + ")::text" : "CAST(" + number + " AS TEXT)";
            else if (postgres)
                sql += "lpad((" + number + ")::text, greatest(" + std::to_string(p.width) + ", length((" + number +
                       ")::text)), '0')";
            else sql += "printf('%0" + std::to_string(p.width) + "d', " + number + ")";
            break;
        case Kind::Year: sql += year; break;
        case Kind::ShortYear: sql += "substr(" + year + ", 3, 2)"; break;
        }
    }
    return sql;
}

}  // namespace velmora
