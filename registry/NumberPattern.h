// How a numbered text column spells its number: a pattern such as
// "{n}/{yyyy}", read once and then spelled three ways: as a value (for the
// next number said to the administrator), as an SQL expression for each
// engine's trigger, and backwards, finding the number in a value already
// stored.
//
// The parts: {n} the number; {n:W} the number with leading zeros to W
// digits (1 to 9, never cut); {yyyy} the year; {yy} its last two digits.
// Anything else is copied as it stands, except braces and control
// characters. Exactly one number part.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

class NumberPattern {
public:
    // The pattern read from `text`; none, with the reason in `why`, when
    // the text is not a pattern.
    static std::optional<NumberPattern> parse(const std::string& text, std::string* why);

    const std::string& text() const { return text_; }
    // {n} alone: what an integer column can hold.
    bool isPlainNumber() const;
    bool hasYear() const;

    // The value for number `n` in `year`.
    std::string spell(int64_t n, int year) const;
    // The number in `value` when it is spelled by this pattern (in `year`
    // when the pattern names the year and `year` is given).
    std::optional<int64_t> numberIn(const std::string& value, std::optional<int> year) const;

    // The value as an SQL expression of this engine, given the SQL that
    // yields the number as an integer and the year as four-digit text.
    std::string sqlExpression(bool postgres, const std::string& number, const std::string& year) const;

private:
    enum class Kind { Text, Number, Year, ShortYear };
    struct Part {
        Kind kind;
        std::string text;  // Text: the text copied
        int width = 0;     // Number: the least number of digits
    };
    bool matches(const std::string& value, size_t at, size_t part, std::optional<int> year, int64_t* n) const;

    std::string text_;
    std::vector<Part> parts_;
};

}  // namespace velmora
