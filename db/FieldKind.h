// Column kinds: the tree of field classes that a result column belongs to,
// with the exact test (==) and the derived test (isKindOf), and the one
// table that maps SQLite declared types onto kinds.
#pragma once

#include <string>
#include <string_view>

namespace db {

enum class FieldKind {
    Field,       // TField: the generic kind, root of the tree
    Integer,     // TIntegerField
    Smallint,    // TSmallintField   < Integer
    Word,        // TWordField       < Integer
    AutoInc,     // TAutoIncField    < Integer
    String,      // TStringField
    WideString,  // TWideStringField < String
    Guid,        // TGuidField       < String
    DateTime,    // TDateTimeField
    Date,        // TDateField       < DateTime
    Time,        // TTimeField       < DateTime
    Bytes,       // TBytesField
    VarBytes,    // TVarBytesField   < Bytes
    LargeInt,    // TLargeintField
    Float,       // TFloatField
    BCD,         // TBCDField
    Boolean,     // TBooleanField
    Memo,        // TMemoField
    Blob,        // TBlobField
    Variant,     // TVariantField
};

// The kind a kind derives from; Field for the families' heads, Field for Field.
FieldKind parentKind(FieldKind k);
// Derived test: `k` is `ancestor` or derives from it.
bool isKindOf(FieldKind k, FieldKind ancestor);
// The field class name ("TIntegerField").
const char* fieldClassName(FieldKind k);

// The kind of a column from its declared SQLite type, as the table in
// FieldKind.cpp gives it; `autoIncrement` marks an AUTOINCREMENT key.
FieldKind kindOfDeclaredType(std::string_view declaredType, bool autoIncrement);

}  // namespace db
