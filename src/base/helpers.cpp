#include "base/helpers.hpp"

#include <unistd.h>

#include <array>
#include <cerrno>

#include "base/xbase.hpp"

namespace tx {

Decimal DESPREZA(Decimal v, int /*width*/, int dec, int mode) {
  if (dec < 0) dec = 0;
  if (mode == 1) return v.trunc(dec);
  return v.round(dec + 2).trunc(dec);
}

std::string DESPREZA_TXT(Decimal v, int width, int dec, int mode) {
  if (dec < 0) dec = 0;
  // Same text as formatting with dec + 2 places and dropping the last two
  // bytes, without the dangling point that gives when dec is 0.
  return STR(DESPREZA(v, width, dec, mode), width - 2, dec);
}

namespace {

// "1.234,56" -> "1234.56": dots dropped, the first comma becomes the point.
std::string brazilian_to_plain(std::string_view text) {
  std::string s;
  bool comma = false;
  for (char c : text) {
    if (c == '.') continue;
    if (c == ',' && !comma) { s += '.'; comma = true; continue; }
    s += c;
  }
  return s;
}

}  // namespace

Decimal CAR_TO_VAL(std::string_view text) {
  if (EMPTY(text)) return Decimal();
  return VAL(brazilian_to_plain(text));
}

std::optional<Decimal> CAR_TO_VAL_CHECKED(std::string_view text) {
  if (EMPTY(text)) return Decimal();
  if (text.find('*') != std::string_view::npos) return std::nullopt;
  std::string s = brazilian_to_plain(text);
  // A sign may stand apart from the digits ("- 12,50"), as pictures show it.
  std::size_t i = s.find_first_not_of(' ');
  if (i != std::string::npos && (s[i] == '-' || s[i] == '+')) {
    std::size_t j = s.find_first_not_of(' ', i + 1);
    if (j != std::string::npos) s = s.substr(0, i + 1) + s.substr(j);
  }
  return Decimal::parse(s);
}

namespace {
constexpr std::array<std::string_view, 12> kMonths = {
    "Janeiro", "Fevereiro", "Marco", "Abril", "Maio", "Junho",
    "Julho", "Agosto", "Setembro", "Outubro", "Novembro", "Dezembro"};
constexpr std::array<std::string_view, 7> kWeekdays = {
    "Domingo", "Segunda feira", "Terca feira", "Quarta feira",
    "Quinta feira", "Sexta feira", "Sabado"};
constexpr long kDay = 86400;
}  // namespace

std::string NOME_MES(int month) {
  if (month < 1 || month > 12) return {};
  return std::string(kMonths[static_cast<std::size_t>(month - 1)]);
}

std::string TRAZ_MES(int month) { return PADR(NOME_MES(month), 9); }

std::string DIA_SEMANA(Date d) {
  if (d.empty()) return {};
  return std::string(kWeekdays[static_cast<std::size_t>(d.dow() - 1)]);
}

long HORA_SEG(std::string_view t) {
  long parts[3] = {0, 0, 0};
  std::size_t pos = 0;
  for (int k = 0; k < 3 && pos <= t.size(); ++k) {
    std::size_t colon = t.find(':', pos);
    std::string_view piece = t.substr(pos, colon == std::string_view::npos ? t.npos : colon - pos);
    parts[k] = VAL(piece).to_long();
    if (colon == std::string_view::npos) break;
    pos = colon + 1;
  }
  return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

std::string SEG_HORA(long seconds) {
  if (seconds < 0) seconds = (seconds % kDay + kDay) % kDay;
  long h = (seconds / 3600) % 24, m = (seconds / 60) % 60, s = seconds % 60;
  return STRZERO(h, 2) + ":" + STRZERO(m, 2) + ":" + STRZERO(s, 2);
}

long TEMPO_PAS(std::string_view start, std::string_view end) {
  long d = HORA_SEG(end) - HORA_SEG(start);
  return d < 0 ? d + kDay : d;
}

std::string TEMPO_PAS(std::string_view start, std::string_view end, int mode) {
  long s = TEMPO_PAS(start, end);
  return mode == 1 ? SEG_HORA(s) : std::to_string(s);
}

bool LELINHA(std::FILE* f, std::string& line) {
  line.clear();
  if (!f) return false;
  bool any = false;
  int c;
  while ((c = std::getc(f)) != EOF) {
    any = true;
    if (c == 0) break;
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return any;
}

bool LELINHA(int fd, std::string& line) {
  line.clear();
  if (fd < 0) return false;
  bool any = false;
  const bool seekable = ::lseek(fd, 0, SEEK_CUR) != -1;
  char buf[512];
  while (true) {
    // A file that can seek is read in blocks and the unread rest given back;
    // a pipe is read a byte at a time so that nothing after the line is lost.
    ssize_t n = ::read(fd, buf, seekable ? sizeof buf : 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return any;
    any = true;
    for (ssize_t i = 0; i < n; ++i) {
      char c = buf[i];
      if (c == '\0' || c == '\n') {
        if (c == '\n') line += c;
        if (i + 1 < n) ::lseek(fd, -static_cast<off_t>(n - i - 1), SEEK_CUR);
        return true;
      }
      line += c;
    }
  }
}

std::string LELINHA(std::FILE* f) {
  std::string line;
  LELINHA(f, line);
  return line;
}

std::string LELINHA(int fd) {
  std::string line;
  LELINHA(fd, line);
  return line;
}

}  // namespace tx
