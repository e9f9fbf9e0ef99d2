// TADOCommand: executes one statement; nothing is returned. Its text may
// name ":parameters", whose values are bound, never spliced into the text.
#pragma once

#include "db/Parameters.h"
#include "toolkit/core/Component.h"

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
    // Parses the text's parameters, keeping the values of those that stay.
    void setCommandText(const std::string& t);
    TParameters& parameters() { return params_; }
    // Runs the text as exactly one statement: a text holding a second one
    // is refused before anything runs; a refused statement raises its error.
    void execute();
    // The rows the last execute() changed.
    int64_t rowsAffected() const { return rowsAffected_; }
    // Runs one statement that returns a row ("Insert ... Returning ID"),
    // and gives the first value of that row as an integer.
    int64_t executeReturningInteger();
    // Runs every statement of a script the program itself wrote (creating
    // a database), without parameters.
    void executeScript();

private:
    tk::ComponentRef<TADOConnection> connection_;
    std::string text_;
    std::string parsed_;  // the text with "?N" for each parameter
    TParameters params_;
    int64_t rowsAffected_ = 0;
};

}  // namespace db
