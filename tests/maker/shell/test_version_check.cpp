// The version check against a real HTTP server on 127.0.0.1 run by the test.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "maker/project/state.h"
#include "maker/shell/version_check.h"
#include "toolkit/testing.h"

namespace {

const std::string kNewer = "A new version has been released.";
const std::string kLatest = "You are using the latest version.";

// A listening socket on 127.0.0.1 at a free port.
int listen_socket(int backlog, int& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(fd, backlog) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    ADD_FAILURE() << "cannot listen on 127.0.0.1";
  port = ntohs(address.sin_port);
  return fd;
}

// Serves each client that comes: reads its request, then sends the reply in
// the given pieces (a short pause between them, so they arrive apart) and
// closes; with `hold` it keeps the connection open and says no more.
class Server {
 public:
  explicit Server(std::vector<std::string> pieces, bool hold = false)
      : pieces_(std::move(pieces)), hold_(hold) {
    fd_ = listen_socket(4, port_);
    thread_ = std::thread([this] { run(); });
  }
  ~Server() {
    stop_ = true;
    thread_.join();
    close(fd_);
  }
  int port() const { return port_; }
  std::vector<std::string> requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  bool readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 20) == 1;
  }
  void run() {
    while (!stop_) {
      if (!readable(fd_)) continue;
      int client = accept(fd_, nullptr, nullptr);
      if (client < 0) continue;
      int one = 1;
      setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      std::string request;
      char block[512];
      while (!stop_ && request.find("\r\n\r\n") == std::string::npos) {
        if (!readable(client)) continue;
        ssize_t n = recv(client, block, sizeof block, 0);
        if (n <= 0) break;
        request.append(block, size_t(n));
      }
      {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
      }
      for (const std::string& piece : pieces_) {
        send(client, piece.data(), piece.size(), MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
      }
      while (hold_ && !stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      close(client);
    }
  }

  std::vector<std::string> pieces_;
  bool hold_;
  int fd_ = -1, port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class VersionCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char old[PATH_MAX];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    old_dir_ = old;
    char tmpl[] = "/tmp/quillop-version-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    reset_program_values();
    pref_check_version_at_startup = 1;
    set_version_reply_wait(3000);
  }
  void TearDown() override {
    reset_version_endpoint();
    EXPECT_EQ(chdir(old_dir_.c_str()), 0);
    std::filesystem::remove_all(dir_);
  }
  // A check that must fail leaves these as they were.
  void leave_traces() {
    std::ofstream("__ver__") << "old\n";
    g_latest_version = 5;
  }
  void expect_traces_kept() {
    EXPECT_EQ(read_file("__ver__"), "old\n");
    EXPECT_EQ(g_latest_version, 5);
  }

  tk::test::ScriptedRequesters requesters_;
  std::string old_dir_, dir_;
};

TEST_F(VersionCheckTest, RepliesAndWhatEachCheckSays) {
  const std::string ok = "HTTP/1.1 200 OK\r\n";
  struct Case {
    const char* name;
    std::vector<std::string> pieces;
    int latest;  // -1: the download fails
    const char *now, *startup;  // messages, nullptr for none
  } cases[] = {
      {"newer", {ok + "Content-Type: text/plain\r\nContent-Length: 4\r\n\r\n128\n"}, 128,
       kNewer.c_str(), kNewer.c_str()},
      {"same", {ok + "Content-Length: 3\r\n\r\n127"}, 127, kLatest.c_str(), nullptr},
      {"older, first line only", {ok + "Content-Length: 10\r\n\r\n100\r\n130\r\n"}, 100,
       kLatest.c_str(), nullptr},
      {"length ends the body", {ok + "CONTENT-LENGTH: 3\r\n\r\n128999"}, 128, kNewer.c_str(),
       kNewer.c_str()},
      {"chunked, split across reads",
       {"HTTP/1.1 200 OK\r\nTRANSFER-ENC", "ODING: Chunked\r\n\r\n1\r\n1\r\n2;x=y\r",
        "\n31\r\nA\r\n\n999999999\r\n0\r\n\r\n"},
       131, kNewer.c_str(), kNewer.c_str()},
      {"body until the close", {"HTTP/1.0 200 OK\r\nServer: x\r\n\r\n129"}, 129, kNewer.c_str(),
       kNewer.c_str()},
      {"redirect body is the version",
       {"HTTP/1.1 302 Found\r\nLocation: http://elsewhere/\r\nContent-Length: 3\r\n\r\n135"}, 135,
       kNewer.c_str(), kNewer.c_str()},
      {"not a number", {ok + "Content-Length: 4\r\n\r\nv1.3"}, 0, kLatest.c_str(), nullptr},
      {"empty body", {ok + "Content-Length: 0\r\n\r\n"}, 0, kLatest.c_str(), nullptr},
      {"not found, though 200 appears",
       {"HTTP/1.1 404 Not Found\r\nX-Code: 200\r\nContent-Length: 3\r\n\r\n128"}, -1, nullptr, nullptr},
      {"server error", {"HTTP/1.1 500 Oops\r\n\r\n128"}, -1, nullptr, nullptr},
      {"not HTTP", {"hello 200\r\n\r\n128"}, -1, nullptr, nullptr},
      {"no reply at all", {""}, -1, nullptr, nullptr},
      {"body shorter than its length", {ok + "Content-Length: 10\r\n\r\n12"}, -1, nullptr, nullptr},
      {"chunk cut short", {ok + "Transfer-Encoding: chunked\r\n\r\n5\r\n12"}, -1, nullptr, nullptr},
      {"no last chunk", {ok + "Transfer-Encoding: chunked\r\n\r\n3\r\n128\r\n"}, -1, nullptr, nullptr},
      {"bad chunk size", {ok + "Transfer-Encoding: chunked\r\n\r\nzz\r\n128\r\n0\r\n\r\n"}, -1, nullptr, nullptr},
      {"huge chunk size", {ok + "Transfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFF\r\n128"}, -1, nullptr, nullptr},
      {"bad length", {ok + "Content-Length: 3x\r\n\r\n128"}, -1, nullptr, nullptr},
      {"huge length", {ok + "Content-Length: 99999999999999\r\n\r\n128"}, -1, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    for (bool startup : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (startup ? ", start-up" : ", Help menu"));
      tk::test::ScriptedRequesters requesters;
      leave_traces();
      Server server(c.pieces);
      set_version_endpoint("127.0.0.1", server.port());
      EXPECT_EQ(startup ? check_version_at_startup() : check_version_now(), 0);
      const char* said = startup ? c.startup : c.now;
      std::vector<std::string> expected;
      if (said) expected.push_back(said);
      EXPECT_EQ(requesters.messages(), expected);
      for (const auto& q : requesters.asked) EXPECT_EQ(q.title, "Version information");
      EXPECT_EQ(server.requests().size(), 1u);
      if (c.latest < 0) {
        expect_traces_kept();
      } else {
        EXPECT_EQ(g_latest_version, c.latest);
        EXPECT_FALSE(std::filesystem::exists("__ver__"));
      }
    }
  }
}

TEST_F(VersionCheckTest, SendsOneGetOfTheVersionFile) {
  Server server({"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n127"});
  set_version_endpoint("127.0.0.1", server.port());
  check_version_now();
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0], "GET /version.txt HTTP/1.1\r\nAccept: */*\r\nHost: 127.0.0.1:" +
                                      std::to_string(server.port()) +
                                      "\r\nConnection: close\r\n\r\n");
  // The default port is left out of the Host line.
  EXPECT_EQ(version_request("quillop.test", 80),
            "GET /version.txt HTTP/1.1\r\nAccept: */*\r\nHost: quillop.test\r\n"
            "Connection: close\r\n\r\n");
}

TEST_F(VersionCheckTest, ServerThatStopsAnsweringEndsTheWaitSilently) {
  set_version_reply_wait(300);
  struct Case {
    const char* name;
    std::vector<std::string> pieces;
  } cases[] = {
      {"nothing after the request", {}},
      {"half a body, then silence", {"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n12"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    leave_traces();
    Server server(c.pieces, true);
    set_version_endpoint("127.0.0.1", server.port());
    auto start = std::chrono::steady_clock::now();
    check_version_now();
    double took = seconds_since(start);
    EXPECT_GE(took, 0.25);
    EXPECT_LT(took, 2.0);
    EXPECT_TRUE(requesters_.messages().empty());
    expect_traces_kept();
  }
}

TEST_F(VersionCheckTest, ClosedPortFailsAtOnceAndSilently) {
  int port;
  close(listen_socket(1, port));
  set_version_endpoint("127.0.0.1", port);
  leave_traces();
  auto start = std::chrono::steady_clock::now();
  check_version_now();
  check_version_at_startup();
  EXPECT_LT(seconds_since(start), 1.0);
  EXPECT_TRUE(requesters_.messages().empty());
  expect_traces_kept();
}

TEST_F(VersionCheckTest, StartUpConnectsOnlyWhenThePreferenceIsOne) {
  set_version_reply_wait(100);
  for (int preference : {0, 2, 1}) {
    SCOPED_TRACE(preference);
    int port;
    int fd = listen_socket(4, port);
    set_version_endpoint("127.0.0.1", port);
    pref_check_version_at_startup = preference;
    check_version_at_startup();
    pollfd p{fd, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 0), preference == 1 ? 1 : 0) << "a connection is waiting";
    close(fd);
  }
  EXPECT_TRUE(requesters_.messages().empty());
}

// The start-up must not hang on a machine whose network does not answer.
TEST_F(VersionCheckTest, NothingAnsweringHoldsStartUpAtMostTwoSeconds) {
  // A listener whose queue is full drops new connection requests unanswered.
  int port;
  int fd = listen_socket(0, port);
  std::vector<int> fillers;
  for (int i = 0; i < 3; ++i) {
    int f = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(uint16_t(port));
    connect(f, reinterpret_cast<sockaddr*>(&address), sizeof address);
    fillers.push_back(f);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  struct Case {
    std::string host;
    int port;
    double at_least;
  } cases[] = {
      {"127.0.0.1", port, 1.5},
      {"no-such-host.invalid", 80, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.host);
    leave_traces();
    set_version_endpoint(c.host, c.port);
    auto start = std::chrono::steady_clock::now();
    check_version_at_startup();
    double took = seconds_since(start);
    EXPECT_GE(took, c.at_least);
    EXPECT_LT(took, 2.5);
    EXPECT_TRUE(requesters_.messages().empty());
    expect_traces_kept();
  }
  for (int f : fillers) close(f);
  close(fd);
}

}  // namespace
