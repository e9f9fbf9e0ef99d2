// TdmClientMain: the data module that owns the database objects for the
// whole run, and whose creation handler does all of start-up.
#pragma once

#include "db/Command.h"
#include "db/Connection.h"
#include "db/Query.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/data/DataModule.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

class Composition;

class TdmClientMain : public tk::TDataModule {
    TK_CLASS(TdmClientMain)
public:
    explicit TdmClientMain(tk::TComponent* owner);

    db::TADOConnection* ADOConnection;
    db::TADOQuery* qrySearch;
    tk::TDataSource* dstSearch;
    db::TADOQuery* qryGetMainData;
    tk::TDataSource* dtsGetMainData;
    db::TADOCommand* cmdAlterTable;

    // The user group whose design is being edited.
    int32_t UserGroupID() const { return userGroupID_; }
    void setUserGroupID(int32_t id) { userGroupID_ = id; }
    int32_t UserID() const { return userID_; }
    // The name of the group UserGroupID() names, or "" when none has it.
    std::string userGroupName();

    // Start-up: login, connection, the windows, the group's design. The
    // windows are the composition's, given before the module is created;
    // without one, start-up stops after the login query.
    void DataModuleCreate(tk::TObject* sender);
    void setComposition(Composition* c) { composition_ = c; }
    // Why start-up ended the program (empty when it did not, or when the
    // user cancelled the login dialog).
    const std::string& startupFailure() const { return startupFailure_; }

    // Catalogue queries, each on qrySearch, which stays open on its statement.
    // The type index of the Document column whose lower-cased name is
    // `lowerName` (its own kind's place in the design model's FieldClasses),
    // or -1.
    int ColumnTypeIndex(const std::string& lowerName);
    // The Document columns but the first, in table order, of the first or
    // the second kind or a kind derived from them; every one for no kind.
    void ListColumns(std::vector<std::string>& list, std::optional<db::FieldKind> first,
                     std::optional<db::FieldKind> second);
    // The dictionaries' names in the order the database gives them.
    void ListDictionaries(std::vector<std::string>& list);

private:
    // The start-up after a confirmed login dialog.
    void connectAndOpenWindows(const std::string& login, const std::string& password);
    // How many users the login names: by name and password as typed (a
    // stored hash typed counts as none), else by name with the password
    // checked against a stored hash. qrySearch is left on the user found.
    int findUser(const std::string& login, const std::string& password);

    void failStartup(const std::string& reason);
    // A database file that other users of the machine may read is said
    // on the status bar; it is not refused.
    void warnIfOthersCanRead();

    Composition* composition_ = nullptr;
    std::string startupFailure_;
    int32_t userID_ = 0;
    int32_t userGroupID_ = 0;
};

extern tk::ComponentRef<TdmClientMain> dmClientMain;

}  // namespace velmora
