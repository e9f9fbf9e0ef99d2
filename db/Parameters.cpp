// Named parameters.
#include "db/Parameters.h"

#include "db/Field.h"

#include "db/DatabaseError.h"
#include "toolkit/text/Text.h"

namespace db {

namespace {
bool nameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '@' ||
           static_cast<unsigned char>(c) >= 0x80;
}
}  // namespace

std::string TParameters::parse(const std::string& sql)
{
    std::vector<TParameter> old = std::move(params_);
    std::unordered_map<std::string, size_t, tk::NameHash, tk::NameEqual> oldIndex = std::move(index_);
    params_.clear();
    index_.clear();
    std::string out;
    for (size_t i = 0; i < sql.size(); ++i) {
        char c = sql[i];
        // Quoted names and strings are copied unchanged.
        if (c == '\'' || c == '"' || c == '[' || c == '`') {
            char close = c == '[' ? ']' : c;
            size_t end = sql.find(close, i + 1);
            if (end == std::string::npos) end = sql.size() - 1;
            out += sql.substr(i, end - i + 1);
            i = end;
            continue;
        }
        if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            size_t end = sql.find('\n', i);
            if (end == std::string::npos) end = sql.size() - 1;
            out += sql.substr(i, end - i + 1);
            i = end;
            continue;
        }
        if (c == ':' && i + 1 < sql.size() && nameChar(sql[i + 1])) {
            size_t j = i + 1;
            while (j < sql.size() && nameChar(sql[j])) ++j;
            std::string name = sql.substr(i + 1, j - i - 1);
            int index = -1;
            if (auto known = index_.find(name); known != index_.end()) index = static_cast<int>(known->second);
            if (index < 0) {
                TParameter p{name, {}, {}};
                // A value bound before the text changed stays bound.
                if (auto before = oldIndex.find(name); before != oldIndex.end()) {
                    p.value = old[before->second].value;
                    p.bytes = old[before->second].bytes;
                }
                params_.push_back(p);
                index = static_cast<int>(params_.size()) - 1;
                index_.emplace(name, params_.size() - 1);
            }
            out += "?" + std::to_string(index + 1);
            i = j - 1;
            continue;
        }
        out += c;
    }
    return out;
}

TParameter* TParameters::findParam(const std::string& name)
{
    auto found = index_.find(name);
    return found == index_.end() ? nullptr : &params_[found->second];
}

TParameter& TParameters::paramByName(const std::string& name)
{
    if (TParameter* p = findParam(name)) return *p;
    throw EDatabaseError("Parameter '" + name + "' not found");
}

std::vector<Cell> TParameters::boundValues() const
{
    std::vector<Cell> values;
    for (const TParameter& p : params_) {
        if (p.bytes) {
            Cell c;
            c.type = Cell::Type::Bytes;
            c.s = *p.bytes;
            values.push_back(std::move(c));
        } else {
            values.push_back(cellOf(p.value));
        }
    }
    return values;
}

}  // namespace db
