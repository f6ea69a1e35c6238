#include "shell/update_check.hpp"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <charconv>
#include <cstring>

#include "base/date.hpp"

namespace tx::shell {

namespace {

using SteadyClock = std::chrono::steady_clock;

// A socket closed when it goes out of scope.
struct Socket {
  int fd = -1;
  ~Socket() { if (fd >= 0) ::close(fd); }
};

int remaining_ms(SteadyClock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` on fd; false on timeout or error.
bool wait_for(int fd, short events, int ms) {
  pollfd p{fd, events, 0};
  for (;;) {
    int r = ::poll(&p, 1, ms);
    if (r < 0 && errno == EINTR) continue;
    return r > 0;
  }
}

// Non-blocking connect bounded by `ms`.
bool connect_within(int fd, const sockaddr* addr, socklen_t len, int ms) {
  if (::connect(fd, addr, len) == 0) return true;
  if (errno != EINPROGRESS) return false;
  if (!wait_for(fd, POLLOUT, ms)) return false;
  int err = 0;
  socklen_t elen = sizeof err;
  return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &elen) == 0 && err == 0;
}

bool send_all(int fd, std::string_view data, SteadyClock::time_point deadline) {
  while (!data.empty()) {
    if (!wait_for(fd, POLLOUT, remaining_ms(deadline))) return false;
    ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The reply holds the marker and the date after it.
bool complete(std::string_view reply) {
  auto at = reply.find(kUpdateMarker);
  return at != std::string_view::npos && reply.size() >= at + 11 + 8;
}

}  // namespace

UpdateServer UpdateServer::from_setting(std::string_view s) {
  UpdateServer srv;
  auto colon = s.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return srv;
  int port = 0;
  auto digits = s.substr(colon + 1);
  auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  if (ec != std::errc() || p != digits.data() + digits.size()) return srv;
  srv.host = std::string(s.substr(0, colon));
  srv.port = port;
  if (!srv.configured()) srv = UpdateServer{};
  return srv;
}

std::optional<std::string> fetch_update_page(const UpdateServer& server, const UpdateTimeouts& t) {
  if (!server.configured()) return std::nullopt;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(t.total_ms);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  std::string port = std::to_string(server.port);
  if (::getaddrinfo(server.host.c_str(), port.c_str(), &hints, &found) != 0 || !found) return std::nullopt;
  Socket sock;
  for (addrinfo* a = found; a; a = a->ai_next) {
    int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    if (connect_within(fd, a->ai_addr, a->ai_addrlen, std::min(t.connect_ms, remaining_ms(deadline)))) {
      sock.fd = fd;
      break;
    }
    ::close(fd);
  }
  ::freeaddrinfo(found);
  if (sock.fd < 0) return std::nullopt;

  std::string request = "GET / HTTP/1.1\r\nHost: " + server.host +
                        "\r\nUser-Agent: Programa TX2014\r\nConnection: close\r\n\r\n";
  if (!send_all(sock.fd, request, deadline)) return std::nullopt;

  std::string reply;
  char buf[2048];
  while (reply.size() < t.max_bytes && !complete(reply)) {
    int wait = std::min(t.read_ms, remaining_ms(deadline));
    if (wait <= 0 || !wait_for(sock.fd, POLLIN, wait)) break;
    ssize_t n = ::recv(sock.fd, buf, sizeof buf, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) break;  // the reply ended
    reply.append(buf, static_cast<std::size_t>(n));
  }
  return reply;
}

UpdateReply parse_update_reply(std::string_view reply) {
  UpdateReply r;
  auto at = reply.find(kUpdateMarker);
  if (at == std::string_view::npos) return r;
  r.marker = true;
  if (reply.size() > at + 5) r.version = std::string(reply.substr(at + 5, 5));
  if (reply.size() > at + 11) r.date = std::string(reply.substr(at + 11, 8));
  return r;
}

namespace {
// dd/mm/yy with two-digit years of this century.
std::optional<Date> short_date(std::string_view s) {
  if (s.size() != 8 || s[2] != '/' || s[5] != '/') return std::nullopt;
  for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
  auto num = [&](std::size_t i) { return (s[i] - '0') * 10 + (s[i + 1] - '0'); };
  Date d = Date::ymd(2000 + num(6), num(3), num(0));
  if (d.empty()) return std::nullopt;
  return d;
}
}  // namespace

std::optional<int> compare_update_date(std::string_view published, std::string_view ours) {
  auto p = short_date(published), o = short_date(ours);
  if (!p || !o) return std::nullopt;
  return *p < *o ? -1 : *p == *o ? 0 : 1;
}

UpdateDecision decide_update(const UpdateReply& reply, std::string_view ours) {
  if (!reply.marker) return UpdateDecision::NoMarker;
  auto cmp = compare_update_date(reply.date, ours);
  if (!cmp) return UpdateDecision::NoMarker;  // an unreadable date offers nothing
  return *cmp < 0 ? UpdateDecision::Older : *cmp == 0 ? UpdateDecision::Same : UpdateDecision::Newer;
}

}  // namespace tx::shell
