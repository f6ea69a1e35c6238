// The update check: asks the maker's web server which version is published
// and offers it when it is newer than this one.
//
// Interface
//   UpdateServer::from_setting("host:port")  the server of the check; the
//                 program reads it from TX2014_ATUALIZA. An empty or bad
//                 setting gives a server that is not configured, which the
//                 check treats as unreachable at once (nothing is waited for).
//   fetch_update_page(server, timeouts)  one request "GET / HTTP/1.1" with
//                 the Host and User-Agent lines; reads until the marker and
//                 the fields after it have arrived, the reply ends, the read
//                 timeout passes without data or the size limit is reached.
//                 None when the server cannot be reached or the request not
//                 sent; otherwise what was received (possibly nothing).
//   parse_update_reply(reply)  the first "TX14": the 5 characters from 5
//                 after its first character are the version, the 8 from 11
//                 after it the date (dd/mm/yy)
//   compare_update_date(published, ours)  -1 older, 0 same, 1 newer; none
//                 when either is not a real dd/mm/yy date
//   decide_update(reply, ours)  what the check does with a reply
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tx::shell {

inline constexpr std::string_view kUpdateMarker = "TX14";

struct UpdateServer {
  std::string host;
  int port = 0;
  bool configured() const { return !host.empty() && port > 0 && port < 65536; }
  static UpdateServer from_setting(std::string_view setting);
};

struct UpdateTimeouts {
  int connect_ms = 3000;
  int read_ms = 3000;        // silence that ends the reading
  int total_ms = 8000;       // the whole exchange
  std::size_t max_bytes = 65536;
};

std::optional<std::string> fetch_update_page(const UpdateServer& server, const UpdateTimeouts& t = {});

struct UpdateReply {
  bool marker = false;
  std::string version;  // 5 characters
  std::string date;     // 8 characters, dd/mm/yy
};
UpdateReply parse_update_reply(std::string_view reply);

std::optional<int> compare_update_date(std::string_view published, std::string_view ours);

enum class UpdateDecision {
  NoMarker,     // nothing published: "Não existe atualização" in both modes
  Same,         // the same date as ours
  Older,        // published before ours: never offered
  Newer,        // offered
};
UpdateDecision decide_update(const UpdateReply& reply, std::string_view ours);

}  // namespace tx::shell
