// The CSV reader.
#include "import/CsvReader.h"

#include "toolkit/text/CodePage.h"

#include <cerrno>
#include <iconv.h>
#include <istream>
#include <memory>

namespace velmora {

namespace {

constexpr size_t pieceBytes = 1u << 16;

// How many bytes at the end of `s` begin a UTF-8 sequence that the next
// piece completes (0 when `s` ends on a whole character).
size_t unfinishedUtf8(std::string_view s)
{
    for (size_t back = 1; back <= 3 && back <= s.size(); ++back) {
        auto byte = static_cast<unsigned char>(s[s.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return length > back ? back : 0;
        }
    }
    return 0;
}

}  // namespace

const char* encodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "Windows-1250";
}

bool isUtf8Stream(std::istream& in)
{
    std::string carried;
    std::string piece(pieceBytes, '\0');
    while (in) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        size_t got = static_cast<size_t>(in.gcount());
        if (got == 0) break;
        std::string text = carried + piece.substr(0, got);
        size_t open = in ? unfinishedUtf8(text) : 0;
        if (!tk::isValidUtf8(std::string_view(text).substr(0, text.size() - open))) return false;
        carried = text.substr(text.size() - open);
    }
    return carried.empty();
}

std::string windows1250ToUtf8(std::string_view bytes)
{
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1250");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw tk::Error("iconv cannot convert from Windows-1250");
    std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
    std::string out(bytes.size() * 3 + 4, '\0');
    char* from = const_cast<char*>(bytes.data());
    size_t fromLeft = bytes.size();
    char* to = out.data();
    size_t toLeft = out.size();
    while (fromLeft > 0) {
        if (iconv(cd, &from, &fromLeft, &to, &toLeft) != static_cast<size_t>(-1)) break;
        if (errno != EILSEQ) throw tk::Error("iconv cannot convert from Windows-1250");
        // The five bytes Windows-1250 leaves undefined: the replacement character.
        ++from;
        --fromLeft;
        if (toLeft < 3) break;
        for (char c : std::string_view("\xEF\xBF\xBD")) *to++ = c;
        toLeft -= 3;
    }
    out.resize(out.size() - toLeft);
    return out;
}

CsvReader::CsvReader(std::istream& in, TextEncoding encoding) : in_(in), encoding_(encoding) {}

bool CsvReader::fill()
{
    if (at_ < buffer_.size()) return true;
    if (atEnd_) return false;
    std::string piece(pieceBytes, '\0');
    in_.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    piece.resize(static_cast<size_t>(in_.gcount()));
    if (piece.empty()) {
        atEnd_ = true;
        return false;
    }
    buffer_.erase(0, at_);
    at_ = 0;
    if (!started_) {
        started_ = true;
        if (encoding_ == TextEncoding::Utf8 && piece.compare(0, 3, "\xEF\xBB\xBF") == 0) piece.erase(0, 3);
    }
    buffer_ += encoding_ == TextEncoding::Windows1250 ? windows1250ToUtf8(piece) : piece;
    return at_ < buffer_.size() || fill();
}

void CsvReader::detectSeparator()
{
    // The header's first line is looked at without being read: titles with
    // a line break inside are rare, and their separators are the same.
    size_t count[3] = {0, 0, 0};
    const char separators[3] = {';', ',', '\t'};
    bool quoted = false;
    for (size_t i = at_;; ++i) {
        if (i == buffer_.size()) {
            if (atEnd_ || i - at_ >= maxRecordBytes) break;
            std::string piece(pieceBytes, '\0');
            in_.read(piece.data(), static_cast<std::streamsize>(piece.size()));
            piece.resize(static_cast<size_t>(in_.gcount()));
            if (piece.empty()) {
                atEnd_ = true;
                break;
            }
            buffer_ += encoding_ == TextEncoding::Windows1250 ? windows1250ToUtf8(piece) : piece;
        }
        char c = buffer_[i];
        if (c == '"') quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r')) break;
        else if (!quoted)
            for (int s = 0; s < 3; ++s)
                if (c == separators[s]) ++count[s];
    }
    separator_ = ';';
    if (count[1] > count[0] && count[1] >= count[2]) separator_ = ',';
    else if (count[2] > count[0] && count[2] > count[1]) separator_ = '\t';
}

void CsvReader::endField(std::vector<std::string>& fields, std::string& field, size_t fieldLine)
{
    if (encoding_ == TextEncoding::Utf8 && !tk::isValidUtf8(field))
        throw ECsvFile(fieldLine, "the text is not UTF-8 (give --encoding windows-1250 for an older export)");
    fields.push_back(std::move(field));
    field.clear();
}

bool CsvReader::next(std::vector<std::string>& fields)
{
    fields.clear();
    for (;;) {
        if (!fill()) return false;
        if (!separator_) detectSeparator();
        recordLine_ = line_;
        recordBytes_ = 0;
        std::string field;
        size_t fieldLine = line_;
        bool quoted = false;     // inside a quoted part
        bool wasQuoted = false;  // the field began with a quote
        bool fieldStart = true;
        for (;;) {
            if (!fill()) {
                if (quoted) throw ECsvFile(fieldLine, "a quote opened here is never closed");
                endField(fields, field, fieldLine);
                break;
            }
            char c = buffer_[at_++];
            if (c == '\0') throw ECsvFile(line_, "the file holds a NUL byte: it is not a text file");
            if (++recordBytes_ > maxRecordBytes) throw ECsvFile(recordLine_, "the record is longer than 64 MB");
            if (field.size() >= maxFieldBytes) throw ECsvFile(fieldLine, "a field is longer than 16 MB");
            bool lineEnd = c == '\n' || (c == '\r' && !(fill() && buffer_[at_] == '\n'));
            if (quoted) {
                if (c == '"') {
                    if (fill() && buffer_[at_] == '"') {
                        ++at_;
                        field += '"';
                    } else {
                        quoted = false;
                    }
                    continue;
                }
                field += c;
                if (lineEnd) ++line_;
                continue;
            }
            if (c == '"' && fieldStart) {
                quoted = wasQuoted = true;
                fieldStart = false;
                continue;
            }
            if (c == separator_) {
                endField(fields, field, fieldLine);
                fieldLine = line_;
                fieldStart = true;
                wasQuoted = false;
                continue;
            }
            if (c == '\r' && !lineEnd) continue;  // the CR of a CRLF
            if (lineEnd) {
                ++line_;
                endField(fields, field, fieldLine);
                break;
            }
            // "abc"def: a quoted field ends at its closing quote.
            if (wasQuoted) throw ECsvFile(line_, "text follows the closing quote of a field");
            field += c;
            fieldStart = false;
        }
        // A blank line is no record.
        if (fields.size() == 1 && fields[0].empty() && !wasQuoted) {
            fields.clear();
            continue;
        }
        return true;
    }
}

}  // namespace velmora
