// TADOCommand: executes a statement text; nothing is returned.
#pragma once

#include "toolkit/Component.h"

#include <string>

namespace db {

class TADOConnection;

class TADOCommand : public tk::TComponent {
    TK_CLASS(TADOCommand)
public:
    explicit TADOCommand(tk::TComponent* owner);
    TADOConnection* connection() const;
    void setConnection(TADOConnection* c) { connection_ = c; }
    const std::string& commandText() const { return text_; }
    void setCommandText(const std::string& t) { text_ = t; }
    // Runs every statement of the text; a refused one raises its error.
    void execute();

private:
    tk::ComponentRef<TADOConnection> connection_;
    std::string text_;
};

}  // namespace db
