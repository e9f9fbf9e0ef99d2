// The clerk's program talking to a server that takes only TLS connections,
// with a certificate the test makes: a data-link file that checks the
// server's name logs in; a name the certificate does not hold, or no
// encryption, is refused in the program's words.
#include "ConsoleOutput.h"
#include "EngineShell.h"
#include "RolesMode.h"
#include "TempFolder.h"
#include "app/DemoEntryForm.h"
#include "load/Gestures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <arpa/inet.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using testing::HasSubstr;

namespace {

// A port nobody listens on now.
int freePort()
{
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &size) == 0)
        port = ntohs(a.sin_port);
    close(s);
    return port;
}

std::string run(const std::string& command)
{
    auto [ok, said] = finishShell(popen(("(" + command + ") 2>&1").c_str(), "r"));
    EXPECT_TRUE(ok) << command << "\n" << said;
    return said;
}

// A certificate authority of the test's own, and the server's certificate
// from it for the name localhost.
void makeCertificates(const TempFolder& f)
{
    std::ofstream(f.file("server.ext")) << "subjectAltName=DNS:localhost\n";
    run("cd '" + f.path() +
        "' && openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -subj /CN=Velmora-teszt-CA -days 2 "
        "&& openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj /CN=localhost "
        "&& openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out server.crt -days 2 "
        "-extfile server.ext");
}

// One server for the suite: TLS on a port of its own, every TCP
// connection required to use it, the demonstration database on it with
// every user a role of the server.
class TlsServer {
public:
    TlsServer()
    {
        makeCertificates(certificates);
        port = freePort();
        // A folder of its own in the temporary folder, which the server's
        // user (nobody, under root) can reach.
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-tls-XXXXXX").string();
        dir = mkdtemp(pattern.data());
        tcp =
            run("'" + std::string(VELMORA_PG_SERVER) + "' start-tls '" + dir + "' '" + certificates.file("server.crt") +
                "' '" + certificates.file("server.key") + "' " + std::to_string(port));
        tcp = tcp.substr(0, tcp.find('\n'));
        try {
            makeDatabase();
        } catch (...) {
            stop();
            throw;
        }
    }
    ~TlsServer() { stop(); }

    // The server stopped and its folder removed, even when the set-up
    // failed half-way.
    void stop()
    {
        std::system(("'" + std::string(VELMORA_PG_SERVER) + "' stop '" + dir + "' >/dev/null 2>&1").c_str());
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    void makeDatabase()
    {
        std::string socket = "host=" + dir + " port=" + std::to_string(port) + " dbname=velmora user=velmora";
        velmora::createDemoDatabaseOnServer(made.path(), socket);
        velmora::addEntryDemo(made.file("VelmoraDSC.udl"));
        db::TADOConnection c(nullptr);
        c.setConnectionString(db::postgresDataLinkLine(socket, true));
        c.open();
        velmora::enableServerRoles(c);
        prefix = velmora::rolePrefixOf(c);
    }

    TempFolder certificates, made;
    std::string dir, tcp, prefix;
    int port = 0;
};

class Tls : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tls = new TlsServer; }
    static void TearDownTestSuite()
    {
        delete tls;
        tls = nullptr;
    }
    // The clerk's program beside a data-link file of `keys` (and the CA's
    // certificate, which a relative sslrootcert finds there), logging in
    // as the clerk; what it printed.
    std::string logIn(const std::string& keys)
    {
        std::filesystem::copy_file(VELMORA_ENTRY_EXECUTABLE, folder.file("velmora-entry"),
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(tls->certificates.file("ca.crt"), folder.file("velmora-ca.crt"),
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(folder.file("VelmoraDSC.udl"))
            << "[oledb]\r\nProvider=PostgreSQL;dbname=velmora;port=" << tls->port << ";" << keys
            << ";Login Role Prefix=" << tls->prefix << "\r\n";
        std::ofstream(folder.file("script.txt")) << Gestures::login(velmora::entryDemoLogin, velmora::entryDemoPassword)
                                                 << "get frmClientMain.btnNew.Enabled\n";
        // Started elsewhere, so that only the file's folder can hold the
        // relative certificate.
        return commandOutput("cd / && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C '" +
                             folder.file("velmora-entry") + "' < '" + folder.file("script.txt") + "' 2>&1");
    }

    static TlsServer* tls;
    TempFolder folder;
};

TlsServer* Tls::tls = nullptr;

}  // namespace

TEST_F(Tls, AConnectionThatChecksTheServersNameAgainstTheOfficesCertificateLogsIn)
{
    std::string out = logIn("host=localhost;sslmode=verify-full;sslrootcert=velmora-ca.crt");
    EXPECT_THAT(out, HasSubstr("True")) << out;
    EXPECT_THAT(out, testing::Not(HasSubstr("failed")));
    // And the connection is encrypted.
    std::string conninfo = "host=localhost port=" + std::to_string(tls->port) +
                           " dbname=velmora sslmode=verify-full sslrootcert='" + tls->certificates.file("ca.crt") +
                           "' user=" + tls->prefix + ".ugyfel password=ugyfel";
    PGconn* conn = PQconnectdb(conninfo.c_str());
    ASSERT_EQ(PQstatus(conn), CONNECTION_OK) << PQerrorMessage(conn);
    EXPECT_EQ(PQsslInUse(conn), 1);
    PQfinish(conn);
}

TEST_F(Tls, AServerWhoseCertificateNamesAnotherHostIsRefused)
{
    // The certificate names localhost; the file names the address.
    std::string out = logIn("host=127.0.0.1;sslmode=verify-full;sslrootcert=velmora-ca.crt");
    EXPECT_THAT(out, HasSubstr("start-up failed: Cannot connect to the PostgreSQL server: "));
    EXPECT_THAT(out, HasSubstr("server certificate for \"localhost\"")) << out;
    EXPECT_THAT(out, HasSubstr("does not match host name \"127.0.0.1\"")) << out;
}

TEST_F(Tls, NoEncryptionIsRefusedByAServerThatRequiresIt)
{
    std::string out = logIn("host=localhost;sslmode=disable");
    EXPECT_THAT(out, HasSubstr("start-up failed: Cannot connect to the PostgreSQL server: "));
    EXPECT_THAT(out, HasSubstr("no encryption")) << out;
    // Nor is the office's certificate found where the program was started.
    out = logIn("host=localhost;sslmode=verify-full;sslrootcert=" + tls->certificates.file("nincs.crt"));
    EXPECT_THAT(out, HasSubstr("start-up failed: Cannot connect to the PostgreSQL server: "));
}
