// Column kinds and the mapping from SQLite declared types.
#include "db/FieldKind.h"

#include "toolkit/text/Text.h"

#include <cctype>

namespace db {

FieldKind parentKind(FieldKind k)
{
    switch (k) {
    case FieldKind::Smallint:
    case FieldKind::Word:
    case FieldKind::AutoInc: return FieldKind::Integer;
    case FieldKind::WideString:
    case FieldKind::Guid: return FieldKind::String;
    case FieldKind::Date:
    case FieldKind::Time: return FieldKind::DateTime;
    case FieldKind::VarBytes: return FieldKind::Bytes;
    default: return FieldKind::Field;
    }
}

bool isKindOf(FieldKind k, FieldKind ancestor)
{
    for (;;) {
        if (k == ancestor) return true;
        if (k == FieldKind::Field) return false;
        k = parentKind(k);
    }
}

const char* fieldClassName(FieldKind k)
{
    switch (k) {
    case FieldKind::Field: return "TField";
    case FieldKind::Integer: return "TIntegerField";
    case FieldKind::Smallint: return "TSmallintField";
    case FieldKind::Word: return "TWordField";
    case FieldKind::AutoInc: return "TAutoIncField";
    case FieldKind::String: return "TStringField";
    case FieldKind::WideString: return "TWideStringField";
    case FieldKind::Guid: return "TGuidField";
    case FieldKind::DateTime: return "TDateTimeField";
    case FieldKind::Date: return "TDateField";
    case FieldKind::Time: return "TTimeField";
    case FieldKind::Bytes: return "TBytesField";
    case FieldKind::VarBytes: return "TVarBytesField";
    case FieldKind::LargeInt: return "TLargeintField";
    case FieldKind::Float: return "TFloatField";
    case FieldKind::BCD: return "TBCDField";
    case FieldKind::Boolean: return "TBooleanField";
    case FieldKind::Memo: return "TMemoField";
    case FieldKind::Blob: return "TBlobField";
    case FieldKind::Variant: return "TVariantField";
    }
    return "TField";
}

namespace {

struct TypeRow {
    const char* name;         // the declared type's name, without its length
    FieldKind withLength;     // kind when a length follows, "varchar(50)"
    FieldKind withoutLength;  // kind of the bare name, "text"
};

// Declared type -> column kind. The names of Jet, SQL Server, SQLite and
// PostgreSQL all appear, so that a database converted from any of them reads
// back with the kinds its columns had. The four types that saving adds read
// back as the designer expects: int -> integer, varchar(50) -> string,
// datetime -> date-time, binary(1) -> fixed-length bytes.
const TypeRow typeTable[] = {
    {"int", FieldKind::Integer, FieldKind::Integer},
    {"integer", FieldKind::Integer, FieldKind::Integer},
    {"long", FieldKind::Integer, FieldKind::Integer},
    {"mediumint", FieldKind::Integer, FieldKind::Integer},
    {"smallint", FieldKind::Smallint, FieldKind::Smallint},
    {"short", FieldKind::Smallint, FieldKind::Smallint},
    {"tinyint", FieldKind::Smallint, FieldKind::Smallint},
    {"byte", FieldKind::Word, FieldKind::Word},
    {"word", FieldKind::Word, FieldKind::Word},
    {"counter", FieldKind::AutoInc, FieldKind::AutoInc},
    {"autoincrement", FieldKind::AutoInc, FieldKind::AutoInc},
    {"bigint", FieldKind::LargeInt, FieldKind::LargeInt},
    {"char", FieldKind::String, FieldKind::String},
    {"varchar", FieldKind::String, FieldKind::String},
    {"character", FieldKind::String, FieldKind::String},
    {"string", FieldKind::String, FieldKind::String},
    {"text", FieldKind::String, FieldKind::Memo},
    {"nchar", FieldKind::WideString, FieldKind::WideString},
    {"nvarchar", FieldKind::WideString, FieldKind::WideString},
    {"national", FieldKind::WideString, FieldKind::WideString},
    {"ntext", FieldKind::WideString, FieldKind::Memo},
    {"memo", FieldKind::Memo, FieldKind::Memo},
    {"longtext", FieldKind::Memo, FieldKind::Memo},
    {"longchar", FieldKind::Memo, FieldKind::Memo},
    {"clob", FieldKind::Memo, FieldKind::Memo},
    {"guid", FieldKind::Guid, FieldKind::Guid},
    {"uuid", FieldKind::Guid, FieldKind::Guid},
    {"uniqueidentifier", FieldKind::Guid, FieldKind::Guid},
    {"datetime", FieldKind::DateTime, FieldKind::DateTime},
    {"timestamp", FieldKind::DateTime, FieldKind::DateTime},
    {"smalldatetime", FieldKind::DateTime, FieldKind::DateTime},
    {"date", FieldKind::Date, FieldKind::Date},
    {"time", FieldKind::Time, FieldKind::Time},
    {"binary", FieldKind::Bytes, FieldKind::Bytes},
    {"varbinary", FieldKind::VarBytes, FieldKind::VarBytes},
    {"blob", FieldKind::Blob, FieldKind::Blob},
    {"bytea", FieldKind::Blob, FieldKind::Blob},
    {"longblob", FieldKind::Blob, FieldKind::Blob},
    {"longbinary", FieldKind::Blob, FieldKind::Blob},
    {"image", FieldKind::Blob, FieldKind::Blob},
    {"general", FieldKind::Blob, FieldKind::Blob},
    {"oleobject", FieldKind::Blob, FieldKind::Blob},
    {"real", FieldKind::Float, FieldKind::Float},
    {"float", FieldKind::Float, FieldKind::Float},
    {"double", FieldKind::Float, FieldKind::Float},
    {"single", FieldKind::Float, FieldKind::Float},
    {"money", FieldKind::BCD, FieldKind::BCD},
    {"currency", FieldKind::BCD, FieldKind::BCD},
    {"decimal", FieldKind::BCD, FieldKind::BCD},
    {"numeric", FieldKind::BCD, FieldKind::BCD},
    {"bit", FieldKind::Boolean, FieldKind::Boolean},
    {"boolean", FieldKind::Boolean, FieldKind::Boolean},
    {"logical", FieldKind::Boolean, FieldKind::Boolean},
    {"yesno", FieldKind::Boolean, FieldKind::Boolean},
    {"variant", FieldKind::Variant, FieldKind::Variant},
    {"sql_variant", FieldKind::Variant, FieldKind::Variant},
};

}  // namespace

FieldKind kindOfDeclaredType(std::string_view declared, bool autoIncrement)
{
    if (autoIncrement) return FieldKind::AutoInc;
    std::string t = tk::lowerAscii(declared);
    size_t paren = t.find('(');
    bool hasLength = paren != std::string::npos;
    std::string base = t.substr(0, paren);
    while (!base.empty() && std::isspace(static_cast<unsigned char>(base.back()))) base.pop_back();
    while (!base.empty() && std::isspace(static_cast<unsigned char>(base.front()))) base.erase(base.begin());
    // "national character varying", "double precision": the first word decides.
    std::string first = base.substr(0, base.find(' '));
    for (const TypeRow& row : typeTable)
        if (base == row.name || first == row.name) return hasLength ? row.withLength : row.withoutLength;
    if (base.empty()) return FieldKind::Variant;  // an expression or an untyped column
    // Anything else by SQLite's own affinity rules.
    if (base.find("int") != std::string::npos) return FieldKind::Integer;
    if (base.find("char") != std::string::npos || base.find("text") != std::string::npos)
        return hasLength ? FieldKind::String : FieldKind::Memo;
    if (base.find("clob") != std::string::npos) return FieldKind::Memo;
    if (base.find("blob") != std::string::npos) return FieldKind::Blob;
    if (base.find("real") != std::string::npos || base.find("floa") != std::string::npos ||
        base.find("doub") != std::string::npos)
        return FieldKind::Float;
    return FieldKind::BCD;
}

}  // namespace db
