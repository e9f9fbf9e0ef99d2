// The data module and start-up.
#include "startup/DataModule.h"

#include "db/DatabaseError.h"
#include "db/Statement.h"
#include "designs/Design.h"
#include "model/DesignModel.h"
#include "registry/DocumentColumns.h"
#include "registry/Passwords.h"
#include "startup/Composition.h"
#include "startup/PasswordDlg.h"
#include "startup/Program.h"
#include "startup/Schema.h"
#include "startup/UserFolders.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Application.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace velmora {

tk::ComponentRef<TdmClientMain> dmClientMain;

TK_DEFINE_CLASS(TdmClientMain, tk::TDataModule)
{
    t.method("DataModuleCreate", &TdmClientMain::DataModuleCreate);
}

TdmClientMain::TdmClientMain(tk::TComponent* owner) : tk::TDataModule(owner)
{
    setName("dmClientMain");
    ADOConnection = new db::TADOConnection(this);
    ADOConnection->setName("ADOConnection");
    ADOConnection->setProvider("Microsoft.Jet.OLEDB.4.0");
    ADOConnection->setLoginPrompt(false);
    qrySearch = new db::TADOQuery(this);
    qrySearch->setName("qrySearch");
    qrySearch->setConnection(ADOConnection);
    dstSearch = new tk::TDataSource(this);
    dstSearch->setName("dstSearch");
    dstSearch->setDataSet(qrySearch);
    qryGetMainData = new db::TADOQuery(this);
    qryGetMainData->setName("qryGetMainData");
    dtsGetMainData = new tk::TDataSource(this);
    dtsGetMainData->setName("dtsGetMainData");
    dtsGetMainData->setDataSet(qryGetMainData);
    cmdAlterTable = new db::TADOCommand(this);
    cmdAlterTable->setName("cmdAlterTable");
    cmdAlterTable->setConnection(ADOConnection);

    OnCreate = findMethod("DataModuleCreate");
}

namespace {
void reopen(db::TADOQuery* q, const char* sql)
{
    q->close();
    q->setSqlText(sql);
    q->open();
}
}  // namespace

int TdmClientMain::ColumnTypeIndex(const std::string& lowerName)
{
    reopen(qrySearch, sql::documentColumns);
    for (int i = 0; i < qrySearch->fieldCount(); ++i) {
        db::TField* f = qrySearch->field(i);
        if (!tk::lowersTo(f->fieldName(), lowerName)) continue;
        // The column's own kind must be in the list; a derived kind is not.
        DesignModel* model = existingDesignModel();
        if (!model) return -1;
        const auto& classes = model->FieldClasses;
        for (size_t k = 0; k < classes.size(); ++k)
            if (classes[k] == f->kind()) return static_cast<int>(k);
        return -1;
    }
    return -1;
}

void TdmClientMain::ListColumns(std::vector<std::string>& list, std::optional<db::FieldKind> first,
                                std::optional<db::FieldKind> second)
{
    reopen(qrySearch, sql::documentColumns);
    list.clear();
    for (int i = 1; i < qrySearch->fieldCount(); ++i) {
        db::TField* f = qrySearch->field(i);
        if (!first || db::isKindOf(f->kind(), *first) || (second && db::isKindOf(f->kind(), *second)))
            list.push_back(f->fieldName());
    }
}

void TdmClientMain::ListDictionaries(std::vector<std::string>& list)
{
    reopen(qrySearch, sql::dictionaries);
    list.clear();
    while (!qrySearch->eof()) {
        // A row without a name is no dictionary one could choose.
        db::TField* name = qrySearch->fieldByName("DictionaryGroupName");
        if (!name->isNull()) list.push_back(name->asString());
        qrySearch->next();
    }
}

void TdmClientMain::DataModuleCreate(tk::TObject*)
{
    // The login dialog has no owner; it goes on every path.
    auto dialog = tk::createOwnedForm<TfrmPasswordDlg>();
    if (dialog->showModal() != tk::mrOk) return;
    try {
        connectAndOpenWindows(dialog->edtLoginName->text(), dialog->edtPasswd->text());
    } catch (const std::exception& e) {
        failStartup(e.what());
    }
}

void TdmClientMain::failStartup(const std::string& reason)
{
    // Start-up ends without a message box; the reason goes to standard
    // error and into the exit status.
    startupFailure_ = reason;
    std::fprintf(stderr, "velmora: start-up failed: %s\n", reason.c_str());
    tk::Application->terminate();
}

int TdmClientMain::findUser(const std::string& login, const std::string& password)
{
    qrySearch->close();
    qrySearch->setSqlText(sql::login);
    qrySearch->parameters().paramByName("@UserLogin").setValue(tk::Value(login));
    qrySearch->parameters().paramByName("@UserPasswd").setValue(tk::Value(password));
    qrySearch->open();
    if (qrySearch->recordCount() > 0) {
        // A stored hash typed as the password opens nothing.
        if (qrySearch->recordCount() == 1 && isPasswordHash(qrySearch->fieldByName("UserPasswd")->asString())) {
            spendOneVerification(password);
            return 0;
        }
        return qrySearch->recordCount();
    }
    // The server took the login's role and password: the user is the one
    // of that name.
    if (!ADOConnection->loginRolePrefix().empty()) {
        qrySearch->close();
        qrySearch->setSqlText(sql::loginByName);
        qrySearch->parameters().paramByName("@UserLogin").setValue(tk::Value(login));
        qrySearch->open();
        return qrySearch->recordCount();
    }
    // The user by name alone, the typed password checked against a stored
    // hash; the query stays on the row that matched.
    qrySearch->close();
    qrySearch->setSqlText(sql::loginByName);
    qrySearch->parameters().paramByName("@UserLogin").setValue(tk::Value(login));
    qrySearch->open();
    int matches = 0, matched = 0, verified = 0;
    for (int row = 0; row < qrySearch->recordCount(); ++row) {
        qrySearch->moveTo(row);
        std::string stored = qrySearch->fieldByName("UserPasswd")->asString();
        if (!isPasswordHash(stored)) continue;
        ++verified;
        if (passwordMatches(stored, password)) {
            ++matches;
            matched = row;
        }
    }
    // An unknown login, or one with a plain-text password, fails as slowly
    // as a wrong password of a hashed one.
    if (verified == 0) spendOneVerification(password);
    if (matches == 1) qrySearch->moveTo(matched);
    return matches;
}

void TdmClientMain::connectAndOpenWindows(const std::string& login, const std::string& password)
{
    ADOConnection->setConnectionString("FILE NAME=" + dataLinkFilePath(executableFolder()));
    // Where the users are roles of the server, the login is the
    // connection's own: the server checks the password.
    ADOConnection->setLogin(login, password);
    int matches = 0;
    try {
        ADOConnection->open();
        matches = findUser(login, password);
    } catch (const db::ELoginRefused&) {
        matches = 0;
    }
    if (matches != 1) {
        qrySearch->close();
        failStartup(tk::format("%d users match the login name and password", matches));
        return;
    }
    userGroupID_ = static_cast<int32_t>(qrySearch->fieldByName("UserGroupID")->asInteger());
    userID_ = static_cast<int32_t>(qrySearch->fieldByName("UserID")->asInteger());

    if (!composition_) return;
    composition_->createWindows();
    bool storedDesign = false;
    {
        std::unique_ptr<db::BlobStream> design =
            qrySearch->createBlobStream(qrySearch->fieldByName("FormData"), db::BlobMode::Read);
        if (design->size() > 0) {
            // The stored design replaces the built-in layout.
            loadDesign(composition_->mainWindow(), design->bytes());
            storedDesign = true;
        }
    }
    composition_->prepareMainWindow(storedDesign);
    composition_->placeAndShow();
    qrySearch->close();
    warnIfOthersCanRead();
}

void TdmClientMain::warnIfOthersCanRead()
{
    const std::string& path = ADOConnection->databasePath();
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || (st.st_mode & (S_IRGRP | S_IROTH)) == 0) return;
    std::string warning = "Az adatbázisfájlt a gép más felhasználói is olvashatják: " + path;
    std::fprintf(stderr, "velmora: the database %s is readable by other users of this machine (chmod 600)\n",
                 path.c_str());
    // Said once, unless start-up has said something already.
    for (tk::TComponent* c : composition_->mainWindow().components())
        if (auto* bar = tk::as<tk::TStatusBar>(c); bar && bar->simpleText().empty()) {
            bar->setSimplePanel(true);
            bar->setSimpleText(warning);
            return;
        }
}

std::string TdmClientMain::userGroupName()
{
    db::TADOQuery q(nullptr);
    db::open(q, *ADOConnection, "Select UserGroupName from UserGroup where UserGroupID = :UserGroupID",
             {{"UserGroupID", UserGroupID()}});
    return q.eof() ? std::string() : q.field(0)->asString();
}

}  // namespace velmora
