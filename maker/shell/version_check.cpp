#include "maker/shell/version_check.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "maker/project/state.h"
#include "toolkit/requester.h"

namespace {

// A placeholder that never resolves until the maker's server has a name.
constexpr const char* kDefaultHost = "version.quillop.invalid";
constexpr int kDefaultPort = 80;
constexpr const char* kVersionFile = "__ver__";
constexpr const char* kTitle = "Version information";
constexpr size_t kBlock = 2048;
// The file holds one number; anything far bigger is not ours.
constexpr size_t kMaxHeaderLine = 16384;
constexpr size_t kMaxBody = 65536;
constexpr int kPollMs = 100;

std::string g_host = kDefaultHost;
int g_port = kDefaultPort;
int g_reply_wait_ms = kVersionReplyWaitMs;

using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline) {
  auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? int(left) : 0;
}

struct AddrinfoFree {
  void operator()(addrinfo* a) const { freeaddrinfo(a); }
};
using Addresses = std::unique_ptr<addrinfo, AddrinfoFree>;

// getaddrinfo() has no time limit of its own, so it runs on a helper thread
// that is left behind when the deadline passes; the shared state lives until
// both sides are done with it.
struct Lookup {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  Addresses result;
};

Addresses look_up(const std::string& host, int port, Clock::time_point deadline) {
  auto lookup = std::make_shared<Lookup>();
  try {
    std::thread([lookup, host, service = std::to_string(port)] {
      addrinfo hints{};
      hints.ai_family = AF_UNSPEC;
      hints.ai_socktype = SOCK_STREAM;
      hints.ai_flags = AI_NUMERICSERV;
      addrinfo* found = nullptr;
      if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) found = nullptr;
      std::lock_guard lock(lookup->mutex);
      lookup->result.reset(found);
      lookup->done = true;
      lookup->finished.notify_all();
    }).detach();
  } catch (...) {
    return nullptr;
  }
  std::unique_lock lock(lookup->mutex);
  if (!lookup->finished.wait_until(lock, deadline, [&] { return lookup->done; })) return nullptr;
  return std::move(lookup->result);
}

class Socket {
 public:
  Socket() = default;
  explicit Socket(int fd) : fd_(fd) {}
  Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Socket& operator=(Socket&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~Socket() {
    if (fd_ >= 0) close(fd_);
  }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

// Connects without blocking so that the deadline bounds the attempt too.
Socket connect_to(const std::string& host, int port) {
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kVersionConnectMs);
  Addresses addresses = look_up(host, port, deadline);
  for (addrinfo* a = addresses.get(); a; a = a->ai_next) {
    Socket s(socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
    if (s.fd() < 0) continue;
    if (connect(s.fd(), a->ai_addr, a->ai_addrlen) == 0) return s;
    if (errno != EINPROGRESS) continue;
    pollfd p{s.fd(), POLLOUT, 0};
    if (poll(&p, 1, ms_left(deadline)) != 1) return Socket();  // time is up
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) return s;
  }
  return Socket();
}

bool send_all(int fd, const std::string& data) {
  for (size_t sent = 0; sent < data.size();) {
    pollfd p{fd, POLLOUT, 0};
    if (poll(&p, 1, g_reply_wait_ms) != 1) return false;
    ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (n > 0) sent += size_t(n);
  }
  return true;
}

// The reply as it arrives: bytes received but not yet taken.
class Reply {
 public:
  explicit Reply(int fd) : fd_(fd) {}

  // Waits for the next block and appends it: its size, 0 when the server
  // has closed the connection, -1 on a time-out or a broken connection.
  long receive() {
    if (!wait()) return -1;
    char block[kBlock];
    ssize_t n;
    do n = recv(fd_, block, sizeof block, 0);
    while (n < 0 && errno == EINTR);
    if (n > 0) pending_.append(block, size_t(n));
    return n;
  }

  // One line without its end of line; false when none comes.
  bool line(std::string& out) {
    size_t end;
    while ((end = pending_.find('\n')) == std::string::npos)
      if (pending_.size() > kMaxHeaderLine || receive() <= 0) return false;
    out.assign(pending_, 0, end);
    if (!out.empty() && out.back() == '\r') out.pop_back();
    pending_.erase(0, end + 1);
    return true;
  }

  // Exactly n more bytes appended to out; false when the connection ends first.
  bool bytes(size_t n, std::string& out) {
    while (pending_.size() < n)
      if (receive() <= 0) return false;
    out.append(pending_, 0, n);
    pending_.erase(0, n);
    return true;
  }

  // Everything up to the close appended to out.
  bool rest(std::string& out, size_t limit) {
    for (;;) {
      out += pending_;
      pending_.clear();
      if (out.size() > limit) return false;
      long n = receive();
      if (n == 0) return true;
      if (n < 0) return false;
    }
  }

 private:
  // Waits in short polls until data (or the close) is there, at most the
  // reply wait.
  bool wait() {
    for (int waited = 0; waited < g_reply_wait_ms; waited += kPollMs) {
      pollfd p{fd_, POLLIN, 0};
      int r = poll(&p, 1, std::min(kPollMs, g_reply_wait_ms - waited));
      if (r > 0) return true;
      if (r < 0 && errno != EINTR) return false;
    }
    return false;
  }

  int fd_;
  std::string pending_;
};

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// A size field: digits only, in the given base, and no bigger than the limit.
bool parse_size(const std::string& text, int base, size_t limit, size_t& size) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, size, base);
  return !text.empty() && error == std::errc() && stop == end && size <= limit;
}

// Only the status code counts: a "200" elsewhere in a refusal is no success.
bool accepted_status(const std::string& status_line) {
  if (status_line.rfind("HTTP/", 0) != 0) return false;
  size_t space = status_line.find(' ');
  if (space == std::string::npos) return false;
  std::string code = status_line.substr(space + 1, 4);
  if (code.size() == 4 && code[3] == ' ') code.pop_back();
  return code == "200" || code == "302";
}

bool read_chunked(Reply& reply, std::string& body) {
  for (;;) {
    std::string line;
    if (!reply.line(line)) return false;
    size_t size;
    if (!parse_size(trim(line.substr(0, line.find(';'))), 16, kMaxBody - body.size(), size))
      return false;
    if (size == 0) return true;
    if (!reply.bytes(size, body) || !reply.line(line) || !line.empty()) return false;
  }
}

bool download(const std::string& destination) {
  Socket s = connect_to(g_host, g_port);
  if (s.fd() < 0 || !send_all(s.fd(), version_request(g_host, g_port))) return false;
  Reply reply(s.fd());
  std::string line;
  if (!reply.line(line) || !accepted_status(line)) return false;
  bool chunked = false, has_length = false;
  size_t length = 0;
  for (;;) {
    if (!reply.line(line)) return false;
    if (line.empty()) break;
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = lower(line.substr(0, colon)), value = trim(line.substr(colon + 1));
    if (name == "transfer-encoding") {
      chunked = lower(value).find("chunked") != std::string::npos;
    } else if (name == "content-length") {
      if (!parse_size(value, 10, kMaxBody, length)) return false;
      has_length = true;
    }
  }
  std::string body;
  bool complete = chunked      ? read_chunked(reply, body)
                  : has_length ? reply.bytes(length, body)
                               : reply.rest(body, kMaxBody);
  if (!complete) return false;
  std::ofstream out(destination, std::ios::binary | std::ios::trunc);
  out.write(body.data(), std::streamsize(body.size()));
  out.close();
  return bool(out);
}

// Text that is not a number counts as 0.
int version_number(const std::string& line) {
  std::string text = trim(line);
  int number = 0;
  const char* start = text.data() + (text.rfind('+', 0) == 0 ? 1 : 0);
  auto [stop, error] = std::from_chars(start, text.data() + text.size(), number);
  return error == std::errc() ? number : 0;
}

// Downloads and reads the published number; false when the download failed.
bool fetch_latest_version() {
  if (!download(kVersionFile)) return false;
  std::string first;
  {
    std::ifstream in(kVersionFile, std::ios::binary);
    std::getline(in, first);
  }
  if (!first.empty() && first.back() == '\r') first.pop_back();
  g_latest_version = version_number(first);
  std::remove(kVersionFile);
  return true;
}

}  // namespace

std::string version_request(const std::string& host, int port) {
  std::string port_part = port == 80 ? "" : ":" + std::to_string(port);
  return "GET /version.txt HTTP/1.1\r\nAccept: */*\r\nHost: " + host + port_part +
         "\r\nConnection: close\r\n\r\n";
}

int check_version_now() {
  if (fetch_latest_version())
    tk::message_box(kTitle, g_latest_version > g_file_version ? "A new version has been released."
                                                              : "You are using the latest version.");
  return 0;
}

int check_version_at_startup() {
  if (pref_check_version_at_startup == 1 && fetch_latest_version() &&
      g_latest_version > g_file_version)
    tk::message_box(kTitle, "A new version has been released.");
  return 0;
}

void set_version_endpoint(const std::string& host, int port) {
  g_host = host;
  g_port = port;
}

void set_version_reply_wait(int ms) { g_reply_wait_ms = ms; }

void reset_version_endpoint() {
  set_version_endpoint(kDefaultHost, kDefaultPort);
  set_version_reply_wait(kVersionReplyWaitMs);
}
