// The update check against a small web server of the test's own on
// 127.0.0.1, and what the start-up does with its answers.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "shell/update_check.hpp"
#include "startup_fixture.hpp"

namespace tx::shell::testing {
namespace {

// Answers each connection with the given pieces, one send each, a little
// apart, and records the request it read.
class TinyServer {
 public:
  explicit TinyServer(std::vector<std::string> pieces, bool close_after = true)
      : pieces_(std::move(pieces)), close_after_(close_after) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd_, 4);
    socklen_t len = sizeof a;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  ~TinyServer() {
    stop_ = true;
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
  }
  std::string setting() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string request() const { return request_; }

 private:
  void serve() {
    while (!stop_) {
      int c = accept(fd_, nullptr, nullptr);
      if (c < 0) return;
      char buf[1024];
      std::string req;
      while (req.find("\r\n\r\n") == std::string::npos) {
        ssize_t n = recv(c, buf, sizeof buf, 0);
        if (n <= 0) break;
        req.append(buf, static_cast<std::size_t>(n));
      }
      request_ = req;
      for (const auto& p : pieces_) {
        send(c, p.data(), p.size(), MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
      }
      if (!close_after_) {
        // Keep the connection open until the reader gives up or has enough.
        while (recv(c, buf, sizeof buf, 0) > 0) {
        }
      }
      close(c);
    }
  }
  std::vector<std::string> pieces_;
  bool close_after_;
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::string request_;
};

const std::string kHead = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>";

std::string page(const std::string& version, const std::string& date) {
  return kHead + std::string(900, 'x') + "TX14 " + version + " " + date + "</body></html>";
}

TEST(UpdateReply, FieldsAtTheirOffsets) {
  auto r = parse_update_reply("abcTX14 2.10  30/04/14 rest");
  EXPECT_TRUE(r.marker);
  EXPECT_EQ(r.version, "2.10 ");
  EXPECT_EQ(r.date, "30/04/14");
  EXPECT_FALSE(parse_update_reply("no marker here").marker);
}

TEST(UpdateReply, DatesComparedAsDates) {
  struct Case { const char* published; std::optional<int> want; };
  const Case cases[] = {{"11/04/14", 0},  {"01/05/14", 1},  {"12/04/14", 1},  {"10/04/14", -1},
                        {"30/12/13", -1}, {"31/02/14", {}}, {"xx/04/14", {}}, {"1/4/14", {}}};
  for (const auto& c : cases) EXPECT_EQ(compare_update_date(c.published, "11/04/14"), c.want) << c.published;
  EXPECT_EQ(decide_update(parse_update_reply("TX14 9.99  10/04/14"), "11/04/14"), UpdateDecision::Older);
  EXPECT_EQ(decide_update(parse_update_reply("TX14 9.99  01/05/14"), "11/04/14"), UpdateDecision::Newer);
  EXPECT_EQ(decide_update(parse_update_reply("TX14 9.99  11/04/14"), "11/04/14"), UpdateDecision::Same);
  EXPECT_EQ(decide_update(parse_update_reply("nothing"), "11/04/14"), UpdateDecision::NoMarker);
}

TEST(UpdateServerSetting, HostAndPort) {
  auto s = UpdateServer::from_setting("atualiza.example:8080");
  EXPECT_EQ(s.host, "atualiza.example");
  EXPECT_EQ(s.port, 8080);
  for (const char* bad : {"", "semporta", ":80", "host:", "host:0", "host:99999", "host:8o"})
    EXPECT_FALSE(UpdateServer::from_setting(bad).configured()) << bad;
}

TEST(FetchUpdatePage, ReadsAcrossSeveralSendsUntilTheFields) {
  std::string full = page("3.01 ", "30/04/14");
  // Cut right inside the marker and inside the date.
  auto at = full.find("TX14");
  TinyServer srv({full.substr(0, at + 2), full.substr(at + 2, 10), full.substr(at + 12)});
  auto got = fetch_update_page(UpdateServer::from_setting(srv.setting()));
  ASSERT_TRUE(got);
  auto r = parse_update_reply(*got);
  EXPECT_TRUE(r.marker);
  EXPECT_EQ(r.date, "30/04/14");
  EXPECT_EQ(srv.request().rfind("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n", 0), 0u) << srv.request();
  EXPECT_NE(srv.request().find("User-Agent: Programa TX2014\r\n"), std::string::npos);
}

TEST(FetchUpdatePage, EndsWhenTheReplyEndsOrGoesQuiet) {
  {
    TinyServer srv({kHead, "sem novidades</body></html>"});
    auto got = fetch_update_page(UpdateServer::from_setting(srv.setting()));
    ASSERT_TRUE(got);
    EXPECT_FALSE(parse_update_reply(*got).marker);
    EXPECT_NE(got->find("sem novidades"), std::string::npos);
  }
  {
    // A server that keeps the connection open: the read gives up after its
    // silence limit with what it has.
    TinyServer srv({kHead + "nada"}, false);
    UpdateTimeouts t;
    t.read_ms = 200;
    auto got = fetch_update_page(UpdateServer::from_setting(srv.setting()), t);
    ASSERT_TRUE(got);
    EXPECT_NE(got->find("nada"), std::string::npos);
  }
}

TEST(FetchUpdatePage, NoServerIsUnreachable) {
  int port;
  {
    TinyServer srv({});
    port = std::stoi(srv.setting().substr(10));
  }  // closed: nobody listens there now
  EXPECT_FALSE(fetch_update_page(UpdateServer::from_setting("127.0.0.1:" + std::to_string(port))));
  EXPECT_FALSE(fetch_update_page(UpdateServer::from_setting("")));
}

// The start-up with each kind of answer.
class StartupUpdate : public StartupTest {
 protected:
  std::string opened;
  Result start(const std::string& keys) {
    return run(keys, Date::ymd(2014, 4, 10), [this](Program& p) {
      p.subsystems.open_download = [this](std::string_view url) {
        opened = std::string(url);
        return true;
      };
    });
  }
  std::string setting(const std::string& field) {
    std::string v;
    with_tables("00", [&](storage::Tables& t) {
      ASSERT_TRUE(t.ABERTURA(kSettingsTable));
      t.area(kSettingsTable).go_top();
      v = t.area(kSettingsTable).trimmed(field);
    });
    return v;
  }
};

const std::string kLeave = answer("{Esc}") + answer("S");

TEST_F(StartupUpdate, OfflineOfficeIsAskedOnceAndLeftAloneAfterNo) {
  env.update_setting = "";  // nothing configured: unreachable at once
  auto r = start(answer("{Enter}"));
  EXPECT_NE(r.where.find("Continua a fazer essa verificação sempre na entrada?"), std::string::npos) << r.where;
  r = start(answer("{Enter}") + answer("N") + answer("{Enter}") + kLeave);
  EXPECT_EQ(r.status, 0) << r.where;
  EXPECT_EQ(setting("VER_ATUAL"), "N");
  r = start("");
  EXPECT_EQ(r.where.find("Internet"), std::string::npos) << r.where;
}

TEST_F(StartupUpdate, SameOrOlderVersionIsSilentAtStart) {
  for (const char* date : {"11/04/14", "02/04/14"}) {
    SCOPED_TRACE(date);
    TinyServer srv({page("1.00 ", date)});
    env.update_setting = srv.setting();
    auto r = start("");
    EXPECT_EQ(r.where.find("Existe a vers"), std::string::npos) << r.where;
    EXPECT_EQ(r.where.find("Não existe atualização"), std::string::npos) << r.where;
  }
}

TEST_F(StartupUpdate, NewerVersionIsOfferedAndYesOpensTheDownloadPage) {
  TinyServer srv({page("2.00 ", "02/05/14")});
  env.update_setting = srv.setting();
  env.download_page = "http://127.0.0.1/baixar";
  auto r = start("");
  EXPECT_NE(r.where.find("Aviso! Existe a versão 2.00  diferente da sua Lib"), std::string::npos) << r.where;
  EXPECT_NE(r.where.find("Atualização feita em 02/05/14. Deseja atualizar agora?"), std::string::npos);
  r = start(answer("S") + answer("{Enter}"));
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(r.ran_out) << r.where;
  EXPECT_EQ(opened, "http://127.0.0.1/baixar");
  EXPECT_FALSE(has_file("DIRET00.DBF"));  // it ended there
}

TEST_F(StartupUpdate, NoMarkerIsToldAndFromTheMenuTheSameDateToo) {
  {
    TinyServer srv({kHead + "manutencao</body></html>"});
    env.update_setting = srv.setting();
    auto r = start("");
    EXPECT_NE(r.where.find("Não existe atualização no momento!"), std::string::npos) << r.where;
  }
  TinyServer srv({page("1.00 ", "11/04/14")});
  env.update_setting = srv.setting();
  // Opções > Ver Atualização: "always at start?" Yes, then the check.
  auto r = start(answer("{Alt-O}") + "{End}{Enter}" + answer("S"));
  EXPECT_NE(r.where.find("Não existe atualização no momento!"), std::string::npos) << r.where;
  EXPECT_EQ(setting("VER_ATUAL"), "S");
}

}  // namespace
}  // namespace tx::shell::testing
