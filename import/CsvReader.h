// Reading a CSV file record by record, as offices' spreadsheets and older
// programs write them: the separator (";", "," or a tab) taken from the
// header, fields quoted with embedded separators, doubled quotes and line
// breaks, any mix of CRLF, LF and CR line ends, UTF-8 with or without a
// byte-order mark or Windows-1250. Only the record being read is held, so
// a file of any length reads in the same memory. Every record knows the
// line it starts on, for the messages that name it.
#pragma once

#include "toolkit/core/Errors.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class TextEncoding { Utf8, Windows1250 };

const char* encodingName(TextEncoding encoding);

// A file that cannot be read as CSV: what is wrong, and the line.
class ECsvFile : public tk::Error {
public:
    ECsvFile(size_t line, const std::string& what) : Error("line " + std::to_string(line) + ": " + what), line_(line) {}
    size_t line() const { return line_; }

private:
    size_t line_;
};

// Whether the whole stream is UTF-8 (read to its end, a piece at a time).
bool isUtf8Stream(std::istream& in);

// Windows-1250 bytes as UTF-8, through iconv.
std::string windows1250ToUtf8(std::string_view bytes);

class CsvReader {
public:
    // A field or a record longer than these is refused: the file is no
    // register, and reading on would only fill the memory.
    static constexpr size_t maxFieldBytes = 16u << 20;
    static constexpr size_t maxRecordBytes = 64u << 20;

    CsvReader(std::istream& in, TextEncoding encoding);

    // The next record, its fields in UTF-8; false at the end of the file.
    // Blank lines are passed over. Raises ECsvFile on a NUL byte, a quote
    // left open at the end, or text that is not in the file's encoding.
    bool next(std::vector<std::string>& fields);
    // The line the last record began on (from 1).
    size_t line() const { return recordLine_; }
    // The separator, known once the first record is read.
    char separator() const { return separator_; }

private:
    // Makes at least one unread byte available; false at the end.
    bool fill();
    // The separator the header uses most outside quotes: ";" on a tie.
    void detectSeparator();
    void endField(std::vector<std::string>& fields, std::string& field, size_t fieldLine);

    std::istream& in_;
    TextEncoding encoding_;
    std::string buffer_;  // UTF-8 text read and not yet parsed from `at_`
    size_t at_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    char separator_ = 0;
    size_t line_ = 1;  // the line of the next unread byte
    size_t recordLine_ = 0;
    size_t recordBytes_ = 0;
};

}  // namespace velmora
