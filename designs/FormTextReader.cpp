// Reading form text: the parser that turns a stored design's text into the
// component image, refusing anything that breaks the grammar with the line
// it stopped on.
#include "designs/FormText.h"

#include "designs/ClassicNumbers.h"
#include "designs/ImageStream.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmora {

namespace {

constexpr size_t maxLine = 4096;

enum class Tok { End, Ident, String, Integer, Float, Char };

struct Token {
    Tok kind = Tok::End;
    std::string text;      // identifier, or the float's digits
    std::u32string chars;  // string
    int64_t integer = 0;
    char suffix = 0;  // float suffix c, d or s (lower case)
    char ch = 0;      // single character
    int line = 1;

    // Empties the token for the next one; its strings keep their buffers.
    void reset(int atLine)
    {
        kind = Tok::End;
        text.clear();
        chars.clear();
        integer = 0;
        suffix = 0;
        ch = 0;
        line = atLine;
    }
};

class Parser {
public:
    explicit Parser(std::string_view text) : src_(text) { checkLine(0); }

    std::string run()
    {
        // An image takes about as many bytes as its text: one buffer, which
        // growing step by step would copy over again at each doubling.
        out_.bytes().reserve(src_.size());
        out_.signature();
        next();
        object(0);
        return std::move(out_.bytes());
    }

private:
    [[noreturn]] void error(const std::string& what, int line)
    {
        throw EReadError(what + " on line " + std::to_string(line));
    }
    [[noreturn]] void error(const std::string& what) { error(what, tok_.line); }

    void checkLine(size_t start)
    {
        size_t end = src_.find('\n', start);
        size_t len = (end == std::string_view::npos ? src_.size() : end) - start;
        if (len >= maxLine) error("Line too long", line_);
    }

    char peekChar(size_t at) const { return at < src_.size() ? src_[at] : '\0'; }
    static bool letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool digit(char c) { return c >= '0' && c <= '9'; }
    static bool hexDigit(char c) { return digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

    void next()
    {
        while (pos_ < src_.size() && static_cast<unsigned char>(src_[pos_]) <= 32) {
            if (src_[pos_] == '\n') {
                ++line_;
                checkLine(pos_ + 1);
            }
            ++pos_;
        }
        tok_.reset(line_);
        if (pos_ >= src_.size()) return;
        char c = src_[pos_];
        if (letter(c)) {
            size_t start = pos_;
            while (pos_ < src_.size() && (letter(src_[pos_]) || digit(src_[pos_]))) ++pos_;
            tok_.kind = Tok::Ident;
            tok_.text.assign(src_.substr(start, pos_ - start));
        } else if (c == '\'' || (c == '#' && digit(peekChar(pos_ + 1)))) {
            stringToken();
        } else if (digit(c) || (c == '-' && digit(peekChar(pos_ + 1)))) {
            numberToken();
        } else if (c == '$' && hexDigit(peekChar(pos_ + 1))) {
            size_t start = ++pos_;
            while (pos_ < src_.size() && hexDigit(src_[pos_])) ++pos_;
            std::string digits(src_.substr(start, pos_ - start));
            if (digits.size() > 16) error("Invalid property value");
            tok_.kind = Tok::Integer;
            tok_.integer = static_cast<int64_t>(std::strtoull(digits.c_str(), nullptr, 16));
        } else {
            tok_.kind = Tok::Char;
            tok_.ch = c;
            ++pos_;
        }
    }

    void stringToken()
    {
        tok_.kind = Tok::String;
        // Quoted bytes are characters of the ANSI code page; "#" codes above
        // 127 make the whole string Unicode, where codes are code points.
        pieces_.clear();
        bool unicode = false;
        for (;;) {
            char c = peekChar(pos_);
            if (pos_ < src_.size() && c == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= src_.size() || src_[pos_] == '\r' || src_[pos_] == '\n')
                        error("Invalid string constant");
                    if (src_[pos_] == '\'') {
                        if (peekChar(pos_ + 1) == '\'' && pos_ + 1 < src_.size()) {
                            pieces_.push_back({false, '\''});
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    pieces_.push_back({false, static_cast<unsigned char>(src_[pos_])});
                    ++pos_;
                }
            } else if (pos_ < src_.size() && c == '#' && digit(peekChar(pos_ + 1))) {
                ++pos_;
                uint64_t code = 0;
                while (pos_ < src_.size() && digit(src_[pos_])) {
                    code = code * 10 + static_cast<uint64_t>(src_[pos_] - '0');
                    if (code > 0x10FFFF) error("Invalid string constant");
                    ++pos_;
                }
                if (code > 127) unicode = true;
                pieces_.push_back({true, static_cast<uint32_t>(code)});
            } else {
                break;
            }
        }
        int page = tk::currentLocale().ansiCodePage;
        for (auto [isCode, v] : pieces_) {
            if (isCode && unicode) tok_.chars += static_cast<char32_t>(v);
            else tok_.chars += v < 256 ? tk::ansiCharToUnicode(static_cast<unsigned char>(v), page) : v;
        }
    }

    void numberToken()
    {
        size_t start = pos_;
        ++pos_;
        while (pos_ < src_.size() && digit(src_[pos_])) ++pos_;
        bool isFloat = false;
        while (pos_ < src_.size()) {
            char c = src_[pos_];
            if (c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-' || digit(c)) {
                isFloat = true;
                ++pos_;
            } else {
                break;
            }
        }
        std::string digits(src_.substr(start, pos_ - start));
        char s = static_cast<char>(std::tolower(static_cast<unsigned char>(peekChar(pos_))));
        if (pos_ < src_.size() && (s == 'c' || s == 'd' || s == 's') && !letter(peekChar(pos_ + 1)) &&
            !digit(peekChar(pos_ + 1))) {
            isFloat = true;
            tok_.suffix = s;
            ++pos_;
        }
        tok_.text.assign(digits);
        if (!isFloat) {
            errno = 0;
            char* end = nullptr;
            long long v = std::strtoll(digits.c_str(), &end, 10);
            if (errno == 0 && end == digits.c_str() + digits.size()) {
                tok_.kind = Tok::Integer;
                tok_.integer = v;
                return;
            }
        }
        tok_.kind = Tok::Float;
    }

    bool isKeyword(const char* word) const { return tok_.kind == Tok::Ident && tk::sameName(tok_.text, word); }
    bool isChar(char c) const { return tok_.kind == Tok::Char && tok_.ch == c; }
    void expectChar(char c)
    {
        if (!isChar(c)) error(std::string("''") + c + "'' expected");
    }
    std::string expectIdent()
    {
        if (tok_.kind != Tok::Ident) error("Identifier expected");
        std::string s = tok_.text;
        next();
        return s;
    }
    bool atObjectKeyword() const { return isKeyword("object") || isKeyword("inherited") || isKeyword("inline"); }

    void object(int depth)
    {
        if (depth > maxFormTextDepth) error("Invalid property value");
        if (!atObjectKeyword()) error("OBJECT expected");
        uint8_t flags = isKeyword("inherited") ? ffInherited : isKeyword("inline") ? ffInline : 0;
        next();
        int headLine = tok_.line;
        std::string name, cls = expectIdent();
        if (isChar(':')) {
            next();
            name = cls;
            cls = expectIdent();
        }
        bool hasPosition = false;
        int64_t position = 0;
        if (isChar('[')) {
            next();
            if (tok_.kind != Tok::Integer) error("Number expected");
            position = tok_.integer;
            hasPosition = true;
            next();
            expectChar(']');
            next();
            flags |= ffChildPos;
        }
        if (flags) {
            out_.byte(0xF0 | flags);
            if (hasPosition) out_.integer(position);
        }
        // An image reads a first byte of 0xF0 or more as the object's flags,
        // so a class name of 240 characters or more cannot stand there.
        if (cls.size() >= 0xF0) error("Class name too long", headLine);
        if (name.size() > 255) error("Invalid property value");
        out_.shortString(cls);
        out_.shortString(name);
        while (!isKeyword("end") && !atObjectKeyword()) property(depth);
        out_.byte(0);
        while (!isKeyword("end")) object(depth + 1);
        out_.byte(0);
        next();
    }

    void property(int depth)
    {
        std::string path = expectIdent();
        while (isChar('.')) {
            next();
            path += "." + expectIdent();
        }
        if (path.size() > 255) error("Invalid property value");
        expectChar('=');
        next();
        out_.shortString(path);
        value(depth);
    }

    // A property's value, by its first token.
    void value(int depth)
    {
        if (depth > maxFormTextDepth) error("Invalid property value");
        switch (tok_.kind) {
        case Tok::String: return stringValue();
        case Tok::Integer:
            out_.integer(tok_.integer);
            next();
            return;
        case Tok::Float: return floatValue();
        case Tok::Ident: return identValue();
        case Tok::Char:
            switch (tok_.ch) {
            case '(': return listValue(depth);
            case '[': return setValue();
            case '{': return binaryValue();
            case '<': return collectionValue(depth);
            default: break;
            }
            break;
        default: break;
        }
        error("Invalid property value");
    }

    // 'text' + 'more', with #nnn characters.
    void stringValue()
    {
        std::u32string& s = joined_;
        s.assign(tok_.chars);
        next();
        while (isChar('+')) {
            next();
            if (tok_.kind != Tok::String) error("String expected");
            s += tok_.chars;
            next();
        }
        utf8_.clear();
        tk::appendUtf8(utf8_, s);
        out_.string(utf8_, true);
    }

    // A number with a fraction or exponent, and its suffix: s single, c
    // currency, d date, none extended.
    void floatValue()
    {
        errno = 0;
        char* end = nullptr;
        long double v = std::strtold(tok_.text.c_str(), &end);
        if (end != tok_.text.c_str() + tok_.text.size() || !std::isfinite(v)) error("Invalid property value");
        switch (tok_.suffix) {
        case 's': out_.single(static_cast<float>(v)); break;
        case 'c': out_.currency(static_cast<int64_t>(std::llround(v))); break;
        case 'd': out_.date(static_cast<double>(v)); break;
        default: out_.extended(v); break;
        }
        next();
    }

    // A name; a dotted name is written without blanks: Owner.Name.
    void identValue()
    {
        std::string name = tok_.text;
        while (peekChar(pos_) == '.' && pos_ < src_.size()) {
            ++pos_;
            size_t start = pos_;
            while (pos_ < src_.size() && (letter(src_[pos_]) || (pos_ > start && digit(src_[pos_])))) ++pos_;
            if (pos_ == start) {
                tok_.line = line_;
                error("Identifier expected");
            }
            name += "." + std::string(src_.substr(start, pos_ - start));
        }
        if (name.size() > 255) error("Invalid property value");
        out_.ident(name);
        next();
    }

    // ( value value ... )
    void listValue(int depth)
    {
        next();
        out_.type(ValueType::List);
        while (!isChar(')')) {
            if (tok_.kind == Tok::End) error("Invalid property value");
            // In an image a Null item is the byte that ends the list.
            if (tok_.kind == Tok::Ident && tk::sameName(tok_.text, "Null")) error("Invalid property value");
            value(depth + 1);
        }
        out_.byte(0);
        next();
    }

    // [ name, name, ... ]
    void setValue()
    {
        next();
        out_.type(ValueType::Set);
        if (!isChar(']'))
            for (;;) {
                if (tok_.kind == Tok::Ident) out_.shortString(tok_.text.substr(0, 255));
                else if (tok_.kind == Tok::Integer) out_.shortString(std::to_string(tok_.integer));
                else error("Identifier expected");
                next();
                if (isChar(']')) break;
                expectChar(',');
                next();
            }
        out_.byte(0);
        next();
    }

    // { hexadecimal digit pairs, with any blanks between pairs }
    void binaryValue()
    {
        std::string bytes;
        for (;;) {
            while (pos_ < src_.size() && static_cast<unsigned char>(src_[pos_]) <= 32) {
                if (src_[pos_] == '\n') {
                    ++line_;
                    checkLine(pos_ + 1);
                }
                ++pos_;
            }
            tok_.line = line_;
            if (pos_ >= src_.size()) error("Invalid binary value");
            if (src_[pos_] == '}') {
                ++pos_;
                break;
            }
            char a = src_[pos_], b = peekChar(pos_ + 1);
            if (!hexDigit(a) || pos_ + 1 >= src_.size() || !hexDigit(b)) error("Invalid binary value");
            auto nib = [](char h) {
                return digit(h) ? h - '0' : (std::tolower(static_cast<unsigned char>(h)) - 'a' + 10);
            };
            bytes += static_cast<char>(nib(a) * 16 + nib(b));
            pos_ += 2;
        }
        out_.binary(bytes);
        next();
    }

    // < item [index] properties end ... >
    void collectionValue(int depth)
    {
        next();
        out_.type(ValueType::Collection);
        while (!isChar('>')) {
            if (!isKeyword("item")) error("item expected");
            next();
            if (isChar('[')) {
                next();
                if (tok_.kind != Tok::Integer) error("Number expected");
                out_.integer(tok_.integer);
                next();
                expectChar(']');
                next();
            }
            out_.type(ValueType::List);
            while (!isKeyword("end")) {
                if (tok_.kind == Tok::End) error("Identifier expected");
                property(depth + 1);
            }
            out_.byte(0);
            next();
        }
        out_.byte(0);
        next();
    }

    std::string_view src_;
    size_t pos_ = 0;
    int line_ = 1;
    Token tok_;
    // Buffers reused by every string, so that reading one allocates nothing
    // once they have grown to the longest.
    std::vector<std::pair<bool, uint32_t>> pieces_;  // (from a "#" code, value)
    std::u32string joined_;
    std::string utf8_;
    ImageWriter out_;
};

}  // namespace

std::string formTextToImage(std::string_view text)
{
    ClassicNumbers numbers;
    return Parser(text).run();
}

}  // namespace velmora
