#include "storage/dbf_table.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_lock.hpp"
#include "storage/dbf_io.hpp"

// Texts are code page 850 bytes (\x82 é, \x87 ç, \xa0 á, \xa2 ó, \xc6 ã).
namespace tx::storage {

namespace {

constexpr const char* kInUse = "Arquivo em uso por outro terminal";
constexpr std::size_t kWindowBytes = 32 * 1024;
// Tables opened alone up to this size are read through a read-only mapping
// of the file: the system's file cache itself, without a copy or a system
// call per record. Larger tables are read record by record.
constexpr std::uint64_t kMapLimit = 256ull << 20;
// The header lock is held only for the few writes of one append; a try that
// keeps failing this long means something else is wrong.
constexpr int kHeaderLockTries = 20000;
constexpr useconds_t kHeaderLockPauseUs = 100;

char upper_ascii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

Date machine_date() {
  std::time_t t = std::time(nullptr);
  std::tm tm {};
  localtime_r(&t, &tm);
  return Date::ymd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

DbfStatus busy(std::string_view text) { return DbfStatus::fail(DbfCode::Busy, std::string(text)); }
DbfStatus invalid(std::string text) { return DbfStatus::fail(DbfCode::Invalid, std::move(text)); }

bool take_header_lock(int fd) {
  for (int i = 0; i < kHeaderLockTries; ++i) {
    platform::LockResult r = platform::try_header_lock(fd);
    if (r == platform::LockResult::Acquired) return true;
    if (r == platform::LockResult::Error) return false;
    usleep(kHeaderLockPauseUs);
  }
  return false;
}

__extension__ typedef unsigned __int128 u128;

// Digits of u with dec decimals, least significant first; returns the count.
template <typename U>
int digits_reversed(U u, int dec, char* buf) {
  int n = 0;
  int digits = 0;
  do {
    if (digits == dec && dec > 0) buf[n++] = '.';
    buf[n++] = static_cast<char>('0' + static_cast<int>(u % 10));
    u /= 10;
    ++digits;
  } while (u != 0 || digits <= dec);
  return n;
}

// Formats v rounded half away from zero to dec decimals, right aligned into
// out[0..width); false when it does not fit. Amounts below about 1.8e9 take
// only 64-bit arithmetic (the record hot path).
bool format_number(Decimal v, int width, int dec, char* out) {
  Decimal::raw_t raw = v.raw();
  bool neg = raw < 0;
  u128 mag = neg ? static_cast<u128>(-raw) : static_cast<u128>(raw);
  std::uint64_t step = 1;
  for (int i = dec; i < Decimal::kScale; ++i) step *= 10;
  constexpr std::uint64_t kMax64 = ~std::uint64_t{0};
  // Half away from zero on the magnitude; 64-bit division when it fits.
  u128 units = mag <= kMax64 - step ? (static_cast<std::uint64_t>(mag) + step / 2) / step : (mag + step / 2) / step;
  if (units == 0) neg = false;
  char buf[64];
  int n = units <= kMax64
              ? digits_reversed(static_cast<std::uint64_t>(units), dec, buf)
              : digits_reversed(units, dec, buf);
  if (neg) buf[n++] = '-';
  if (n > width) return false;
  std::memset(out, ' ', static_cast<std::size_t>(width - n));
  for (int i = 0; i < n; ++i) out[width - 1 - i] = buf[i];
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\0')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
  return s;
}

}  // namespace

DbfTable::~DbfTable() { close(); }

std::string DbfTable::memo_path_for(const std::string& table_path) {
  auto slash = table_path.rfind('/');
  auto dot = table_path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return table_path + ".FPT";
  std::string ext = table_path.substr(dot + 1);
  bool lower = !ext.empty() && ext[0] >= 'a' && ext[0] <= 'z';
  return table_path.substr(0, dot + 1) + (lower ? "fpt" : "FPT");
}

DbfStatus DbfTable::create(const std::string& path, const std::vector<FieldDef>& fields, Date today) {
  if (DbfStatus s = validate_dbf_fields(fields); !s) return s;
  if (today.empty()) today = machine_date();
  bool memo = std::any_of(fields.begin(), fields.end(),
                          [](const FieldDef& f) { return upper_ascii(f.type) == 'M'; });
  if (memo) {
    if (DbfStatus s = MemoFile::create(memo_path_for(path)); !s) return s;
  }
  std::string bytes = build_dbf_header(fields, 0, today);
  bytes.push_back(static_cast<char>(kDbfEofMarker));
  DbfStatus s = write_file_atomically(path, bytes);
  if (!s && memo) ::unlink(memo_path_for(path).c_str());
  return s;
}

// Only an exclusive open maps: nobody else changes the file, and our own
// writes reach the mapping through the shared file cache. The mapping goes
// before anything shortens or replaces the file.
void DbfTable::map_file() {
  unmap_file();
  std::uint64_t size = file_size();
  if (!exclusive() || size == 0 || size > kMapLimit) return;
  void* p = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd_, 0);
  if (p == MAP_FAILED) return;
  ::madvise(p, size, MADV_RANDOM);
  map_ = static_cast<const char*>(p);
  map_len_ = size;
}

void DbfTable::unmap_file() {
  if (map_) ::munmap(const_cast<char*>(map_), map_len_);
  map_ = nullptr;
  map_len_ = 0;
}

void DbfTable::reset_state() {
  unmap_file();
  fd_ = -1;
  read_only_ = false;
  header_ = DbfHeader{};
  names_.clear();
  count_ = recno_ = 0;
  eof_ = true;
  rec_.clear();
  dirty_ = pending_append_ = header_dirty_ = date_written_ = false;
  window_.clear();
  win_first_ = win_n_ = last_read_ = 0;
  file_locked_ = false;
  locked_.clear();
}

DbfStatus DbfTable::io_error(const char* what) const {
  int e = errno;
  return DbfStatus::fail(DbfCode::IoError, std::string(what) + " " + path_ + ": " + std::strerror(e), e);
}

DbfStatus DbfTable::open(const std::string& path, Mode mode) {
  close();
  // A pack elsewhere may rename a new file over the name between our open and
  // our lock; the lock then sits on a file nobody else will open, so try again.
  for (int attempt = 0; attempt < 5; ++attempt) {
    bool replaced = false;
    DbfStatus s = open_once(path, mode, replaced);
    if (s && exclusive()) map_file();
    if (!replaced) return s;
  }
  return busy(kInUse);
}

DbfStatus DbfTable::open_once(const std::string& path, Mode mode, bool& replaced) {
  reset_state();
  path_ = path;
  mode_ = mode;
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && (errno == EACCES || errno == EROFS) && mode == Mode::Shared) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    read_only_ = fd >= 0;
  }
  if (fd < 0) {
    int e = errno;
    if (e == ENOENT)
      return DbfStatus::fail(DbfCode::NotFound, "Arquivo " + path + " n\xc6o localizado!", e);
    return DbfStatus::fail(DbfCode::IoError, "Arquivo " + path + " n\xc6o pode ser aberto: " + std::strerror(e), e);
  }
  platform::LockResult lr = platform::try_open_lock(fd, mode == Mode::Exclusive);
  if (lr != platform::LockResult::Acquired) {
    int e = errno;
    ::close(fd);
    if (lr == platform::LockResult::Busy) return busy(kInUse);
    return DbfStatus::fail(DbfCode::IoError, "Arquivo " + path + " n\xc6o pode ser bloqueado: " + std::strerror(e), e);
  }
  struct stat mine {}, named {};
  if (::fstat(fd, &mine) != 0 || ::stat(path.c_str(), &named) != 0 || mine.st_ino != named.st_ino ||
      mine.st_dev != named.st_dev) {
    ::close(fd);
    replaced = true;
    return busy(kInUse);
  }
  fd_ = fd;
  auto give_up = [this](DbfStatus s) {
    ::close(fd_);
    memo_.close();
    reset_state();
    return s;
  };
  if (DbfStatus s = load_header(); !s) return give_up(std::move(s));
  if (header_.has_memo_fields()) {
    std::string want = memo_path_for(path);
    auto slash = want.rfind('/');
    std::string found = find_sibling_nocase(path, slash == std::string::npos ? want : want.substr(slash + 1));
    DbfStatus s = found.empty()
        ? DbfStatus::fail(DbfCode::NotFound, "Arquivo de memo " + want + " n\xc6o localizado!")
        : memo_.open(found, !read_only_);
    if (!s) return give_up(std::move(s));
  }
  build_name_index();
  rec_.assign(header_.record_len + 1u, ' ');
  rec_[header_.record_len] = static_cast<char>(kDbfEofMarker);
  DbfStatus first = count_ > 0 ? go(1) : go_eof();
  if (!first) return give_up(std::move(first));
  return first;
}

DbfStatus DbfTable::load_header() {
  char prefix[kDbfPrefixSize];
  if (!pread_full(fd_, prefix, sizeof prefix, 0))
    return DbfStatus::fail(DbfCode::Damaged, "Arquivo danificado: cabe\x87""alho incompleto: " + path_);
  DbfHeader h;
  if (DbfStatus s = parse_dbf_prefix({prefix, sizeof prefix}, h); !s) {
    s.message += ": " + path_;
    return s;
  }
  std::string bytes(h.header_len, '\0');
  if (!pread_full(fd_, bytes.data(), bytes.size(), 0))
    return DbfStatus::fail(DbfCode::Damaged, "Arquivo danificado: cabe\x87""alho incompleto: " + path_);
  if (DbfStatus s = parse_dbf_header(bytes, h); !s) {
    s.message += ": " + path_;
    return s;
  }
  if (DbfStatus s = check_dbf_size(h, file_size()); !s) {
    s.message += ": " + path_;
    return s;
  }
  header_ = std::move(h);
  count_ = header_.record_count;
  return DbfStatus::ok();
}

void DbfTable::build_name_index() {
  names_.clear();
  for (int i = 0; i < field_count(); ++i) names_.emplace_back(field(i).name, i);
  std::sort(names_.begin(), names_.end());
}

int DbfTable::field_index(std::string_view name) const {
  if (name.empty() || name.size() > 10) return -1;
  char buf[10];
  for (std::size_t i = 0; i < name.size(); ++i) buf[i] = upper_ascii(name[i]);
  std::string_view key(buf, name.size());
  auto it = std::lower_bound(names_.begin(), names_.end(), key,
                             [](const auto& e, std::string_view k) { return std::string_view(e.first) < k; });
  if (it == names_.end() || it->first != key) return -1;
  return it->second;
}

DbfStatus DbfTable::close() {
  if (fd_ < 0) return DbfStatus::ok();
  DbfStatus s = commit();
  unmap_file();
  ::close(fd_);  // drops every lock this open held
  memo_.close();
  reset_state();
  return s;
}

std::uint64_t DbfTable::file_size() const {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}

std::uint32_t DbfTable::record_count() {
  if (fd_ >= 0 && !exclusive()) {
    unsigned char b[4];
    if (pread_full(fd_, b, 4, 4))
      count_ = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
  }
  header_.record_count = count_;
  return count_;
}

void DbfTable::blank_record() {
  std::memset(rec_.data(), ' ', header_.record_len);
}

DbfStatus DbfTable::go_eof() {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (DbfStatus s = flush(); !s) return s;
  if (!exclusive()) record_count();
  blank_record();
  recno_ = count_ + 1;
  eof_ = true;
  return DbfStatus::ok();
}

DbfStatus DbfTable::go(std::uint32_t recno) {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (DbfStatus s = flush(); !s) return s;
  if (recno > count_ && !exclusive()) record_count();
  if (recno == 0 || recno > count_) {
    go_eof();
    return invalid("Registro " + std::to_string(recno) + " fora do arquivo " + path_);
  }
  if (DbfStatus s = read_record(recno); !s) {
    go_eof();
    return s;
  }
  recno_ = recno;
  eof_ = false;
  return DbfStatus::ok();
}

DbfStatus DbfTable::read_record(std::uint32_t recno) {
  const std::size_t rl = header_.record_len;
  if (map_) {
    std::uint64_t off = header_.record_offset(recno);
    if (off + rl > map_len_ && file_size() <= kMapLimit) map_file();  // grown by appends
    if (map_ && off + rl <= map_len_) {
      std::memcpy(rec_.data(), map_ + off, rl);
      last_read_ = recno;
      return DbfStatus::ok();
    }
  }
  if (exclusive()) {
    if (recno >= win_first_ && recno < win_first_ + win_n_) {
      std::memcpy(rec_.data(), window_.data() + (recno - win_first_) * rl, rl);
      last_read_ = recno;
      return DbfStatus::ok();
    }
    // A window only for moves to a neighbour; a jump reads the one record.
    bool sequential = last_read_ != 0 && (recno == last_read_ + 1 || recno + 1 == last_read_);
    std::uint32_t per = static_cast<std::uint32_t>(std::max<std::size_t>(1, kWindowBytes / rl));
    if (sequential && per > 1) {
      std::uint32_t first = ((recno - 1) / per) * per + 1;
      std::uint32_t n = std::min<std::uint32_t>(per, count_ - first + 1);
      window_.resize(std::size_t(n) * rl);
      if (pread_full(fd_, window_.data(), window_.size(), header_.record_offset(first))) {
        win_first_ = first;
        win_n_ = n;
        std::memcpy(rec_.data(), window_.data() + (recno - first) * rl, rl);
        last_read_ = recno;
        return DbfStatus::ok();
      }
      win_first_ = win_n_ = 0;
    }
  }
  errno = 0;
  if (!pread_full(fd_, rec_.data(), rl, header_.record_offset(recno))) {
    if (errno == 0 || file_size() < header_.record_offset(recno) + rl)
      return DbfStatus::fail(DbfCode::Damaged,
                             "Arquivo danificado: registro " + std::to_string(recno) + " incompleto: " + path_);
    return io_error("Erro ao ler");
  }
  last_read_ = recno;
  return DbfStatus::ok();
}

Date DbfTable::update_date() const { return today_.empty() ? machine_date() : today_; }

DbfStatus DbfTable::write_header_prefix() {
  char prefix[kDbfPrefixSize];
  if (!pread_full(fd_, prefix, sizeof prefix, 0)) return io_error("Erro ao ler");
  put_dbf_count_and_date(prefix, count_, update_date());
  if (!pwrite_full(fd_, prefix + 1, 7, 1)) return io_error("Erro ao gravar");
  return DbfStatus::ok();
}

DbfStatus DbfTable::flush() {
  if (fd_ < 0 || !dirty_) return DbfStatus::ok();
  if (eof_) {
    dirty_ = false;
    return DbfStatus::ok();
  }
  if (!record_locked(recno_))
    return invalid("Registro " + std::to_string(recno_) + " n\xc6o est\xa0 bloqueado: " + path_);
  const std::size_t rl = header_.record_len;
  const bool appended = pending_append_;
  std::size_t n = appended ? rl + 1 : rl;
  if (!pwrite_full(fd_, rec_.data(), n, header_.record_offset(recno_))) return io_error("Erro ao gravar");
  if (appended) {
    // The count follows the record at once, so a program stopped at any
    // moment leaves every written record counted.
    unsigned char c[4] = {static_cast<unsigned char>(count_), static_cast<unsigned char>(count_ >> 8),
                          static_cast<unsigned char>(count_ >> 16), static_cast<unsigned char>(count_ >> 24)};
    if (!pwrite_full(fd_, c, 4, 4)) return io_error("Erro ao gravar");
  }
  if (recno_ >= win_first_ && recno_ < win_first_ + win_n_)
    std::memcpy(window_.data() + (recno_ - win_first_) * rl, rec_.data(), rl);
  dirty_ = false;
  pending_append_ = false;
  if (exclusive()) {
    header_dirty_ = true;
  } else if (!date_written_) {
    char prefix[kDbfPrefixSize] = {};
    put_dbf_count_and_date(prefix, 0, update_date());
    if (!pwrite_full(fd_, prefix + 1, 3, 1)) return io_error("Erro ao gravar");
    date_written_ = true;
  }
  return DbfStatus::ok();
}

DbfStatus DbfTable::reread() {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (pending_append_) {
    // The appended record was never written: the table shrinks back.
    --count_;
    dirty_ = pending_append_ = false;
    return go_eof();
  }
  dirty_ = false;
  if (eof_) return go_eof();
  win_first_ = win_n_ = 0;
  return read_record(recno_);
}

DbfStatus DbfTable::commit() {
  if (fd_ < 0) return DbfStatus::ok();
  if (DbfStatus s = flush(); !s) return s;
  if (header_dirty_) {
    if (DbfStatus s = write_header_prefix(); !s) return s;
    header_dirty_ = false;
  }
  return DbfStatus::ok();
}

DbfStatus DbfTable::append_blank() {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (read_only_) return invalid("Arquivo " + path_ + " aberto s\xa2 para leitura");
  if (DbfStatus s = flush(); !s) return s;
  if (count_ == 0xFFFFFFFEu) return invalid("Arquivo " + path_ + " cheio");
  if (exclusive()) {
    // Written by the next flush, together with the end marker.
    ++count_;
    recno_ = count_;
    eof_ = false;
    blank_record();
    dirty_ = pending_append_ = header_dirty_ = true;
    return DbfStatus::ok();
  }
  if (!take_header_lock(fd_)) return busy(kInUse);
  DbfStatus st = DbfStatus::ok();
  record_count();
  std::uint32_t n = count_ + 1;
  bool took_record = false;
  if (!file_locked_) {
    platform::LockResult lr = platform::try_record_lock(fd_, n);
    if (lr == platform::LockResult::Busy) st = busy(kInUse);
    else if (lr == platform::LockResult::Error) st = io_error("Erro ao bloquear");
    took_record = lr == platform::LockResult::Acquired;
  }
  if (st) {
    blank_record();
    if (!pwrite_full(fd_, rec_.data(), header_.record_len + 1u, header_.record_offset(n))) {
      st = io_error("Erro ao gravar");
    } else {
      count_ = n;
      if (DbfStatus h = write_header_prefix(); !h) st = h;
      date_written_ = true;
    }
    if (!st && took_record) platform::unlock_record(fd_, n);
    if (st && took_record) locked_.push_back(n);
  }
  platform::unlock_header(fd_);
  if (!st) {
    if (eof_) blank_record();
    else (void)read_record(recno_);  // the buffer held the blank record
    return st;
  }
  recno_ = n;
  eof_ = false;
  dirty_ = false;
  return DbfStatus::ok();
}

// ---- locks -------------------------------------------------------------

bool DbfTable::record_locked(std::uint32_t recno) const {
  if (exclusive() || file_locked_) return true;
  return std::find(locked_.begin(), locked_.end(), recno) != locked_.end();
}

DbfStatus DbfTable::lock_record(std::uint32_t recno) {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (record_locked(recno)) return DbfStatus::ok();
  platform::LockResult lr = platform::try_record_lock(fd_, recno);
  if (lr == platform::LockResult::Busy) return busy("Registro em uso por outro terminal");
  if (lr == platform::LockResult::Error) return io_error("Erro ao bloquear");
  locked_.push_back(recno);
  return DbfStatus::ok();
}

DbfStatus DbfTable::lock_file() {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (file_locked()) return DbfStatus::ok();
  platform::LockResult lr = platform::try_file_lock(fd_);
  if (lr == platform::LockResult::Busy) return busy(kInUse);
  if (lr == platform::LockResult::Error) return io_error("Erro ao bloquear");
  file_locked_ = true;
  return DbfStatus::ok();
}

void DbfTable::unlock_record(std::uint32_t recno) {
  auto it = std::find(locked_.begin(), locked_.end(), recno);
  if (it == locked_.end()) return;
  locked_.erase(it);
  if (!file_locked_ && fd_ >= 0 && !exclusive()) platform::unlock_record(fd_, recno);
}

void DbfTable::unlock_all() {
  if (fd_ >= 0 && !exclusive() && (file_locked_ || !locked_.empty())) platform::unlock_records(fd_);
  file_locked_ = false;
  locked_.clear();
}

// ---- fields ------------------------------------------------------------

DbfStatus DbfTable::unknown_field(std::string_view name) const {
  return invalid("Campo " + std::string(name) + " inexistente em " + path_);
}

DbfStatus DbfTable::writable_field(int i, char type) const {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (i < 0 || i >= field_count()) return invalid("Campo inexistente em " + path_);
  if (read_only_) return invalid("Arquivo " + path_ + " aberto s\xa2 para leitura");
  if (eof_) return invalid("Fim de arquivo: nenhum registro para gravar em " + path_);
  if (type != 0 && field(i).type != type)
    return invalid("Tipo de dado incompat\xa1vel com o campo " + field(i).name);
  return DbfStatus::ok();
}

std::string_view DbfTable::get_text(std::string_view name) const {
  int i = field_index(name);
  return i < 0 ? std::string_view{} : raw(i);
}

Decimal DbfTable::get_number(int i) const {
  std::string_view s = trim(raw(i));
  if (s.empty()) return Decimal{};
  if (auto d = Decimal::parse(s)) return *d;
  return Decimal::val(s);  // damaged or asterisks: as much as reads as a number
}
Decimal DbfTable::get_number(std::string_view name) const {
  int i = field_index(name);
  return i < 0 ? Decimal{} : get_number(i);
}

Date DbfTable::get_date(int i) const { return STOD(raw(i)); }
Date DbfTable::get_date(std::string_view name) const {
  int i = field_index(name);
  return i < 0 ? Date{} : get_date(i);
}

bool DbfTable::get_logical(int i) const {
  char c = raw(i).empty() ? ' ' : raw(i)[0];
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}
bool DbfTable::get_logical(std::string_view name) const {
  int i = field_index(name);
  return i >= 0 && get_logical(i);
}

DbfStatus DbfTable::get_memo(int i, std::string& out) const {
  out.clear();
  if (i < 0 || i >= field_count() || field(i).type != 'M') return invalid("Campo memo inexistente em " + path_);
  std::string_view s = trim(raw(i));
  if (s.empty()) return DbfStatus::ok();
  std::uint64_t block = 0;
  for (char c : s) {
    if (c < '0' || c > '9' || block > 0xFFFFFFFFu)
      return DbfStatus::fail(DbfCode::Damaged, "Arquivo danificado: bloco de memo inv\xa0lido em " + path_);
    block = block * 10 + static_cast<unsigned>(c - '0');
  }
  if (block > 0xFFFFFFFFu)
    return DbfStatus::fail(DbfCode::Damaged, "Arquivo danificado: bloco de memo inv\xa0lido em " + path_);
  return memo_.read(static_cast<std::uint32_t>(block), out);
}
DbfStatus DbfTable::get_memo(std::string_view name, std::string& out) const {
  int i = field_index(name);
  if (i < 0) {
    out.clear();
    return unknown_field(name);
  }
  return get_memo(i, out);
}

DbfStatus DbfTable::set_raw(int i, std::string_view bytes) {
  if (DbfStatus s = writable_field(i, 0); !s) return s;
  const FieldDef& f = field(i);
  char* p = rec_.data() + header_.offsets[static_cast<std::size_t>(i)];
  std::size_t n = std::min(bytes.size(), static_cast<std::size_t>(f.len));
  std::memcpy(p, bytes.data(), n);
  std::memset(p + n, ' ', static_cast<std::size_t>(f.len) - n);
  dirty_ = true;
  return DbfStatus::ok();
}

DbfStatus DbfTable::set_text(int i, std::string_view text) {
  if (DbfStatus s = writable_field(i, 'C'); !s) return s;
  return set_raw(i, text);
}
DbfStatus DbfTable::set_text(std::string_view name, std::string_view text) {
  int i = field_index(name);
  return i < 0 ? unknown_field(name) : set_text(i, text);
}

DbfStatus DbfTable::set_number(int i, Decimal v) {
  if (DbfStatus s = writable_field(i, 'N'); !s) return s;
  const FieldDef& f = field(i);
  char buf[kDbfMaxNumericWidth];
  if (!format_number(v, f.len, f.dec, buf))
    return invalid("Valor " + v.str(f.dec) + " n\xc6o cabe no campo " + f.name + " (" + std::to_string(f.len) +
                   "," + std::to_string(f.dec) + ")");
  std::memcpy(rec_.data() + header_.offsets[static_cast<std::size_t>(i)], buf, static_cast<std::size_t>(f.len));
  dirty_ = true;
  return DbfStatus::ok();
}
DbfStatus DbfTable::set_number(std::string_view name, Decimal v) {
  int i = field_index(name);
  return i < 0 ? unknown_field(name) : set_number(i, v);
}

DbfStatus DbfTable::set_date(int i, Date d) {
  if (DbfStatus s = writable_field(i, 'D'); !s) return s;
  return set_raw(i, DTOS(d));
}
DbfStatus DbfTable::set_date(std::string_view name, Date d) {
  int i = field_index(name);
  return i < 0 ? unknown_field(name) : set_date(i, d);
}

DbfStatus DbfTable::set_logical(int i, bool v) {
  if (DbfStatus s = writable_field(i, 'L'); !s) return s;
  return set_raw(i, v ? "T" : "F");
}
DbfStatus DbfTable::set_logical(std::string_view name, bool v) {
  int i = field_index(name);
  return i < 0 ? unknown_field(name) : set_logical(i, v);
}

DbfStatus DbfTable::set_memo(int i, std::string_view text) {
  if (DbfStatus s = writable_field(i, 'M'); !s) return s;
  if (!record_locked(recno_))
    return invalid("Registro " + std::to_string(recno_) + " n\xc6o est\xa0 bloqueado: " + path_);
  if (text.empty()) return set_raw(i, "");
  std::uint32_t old_block = 0;
  std::string_view s = trim(raw(i));
  bool digits = !s.empty() && s.size() <= 9 &&
                std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (digits) old_block = static_cast<std::uint32_t>(std::stoul(std::string(s)));
  std::uint32_t block = 0;
  if (DbfStatus st = memo_.write(text, old_block, block); !st) return st;
  char buf[11];
  std::snprintf(buf, sizeof buf, "%10u", block);
  return set_raw(i, std::string_view(buf, 10));
}
DbfStatus DbfTable::set_memo(std::string_view name, std::string_view text) {
  int i = field_index(name);
  return i < 0 ? unknown_field(name) : set_memo(i, text);
}

DbfStatus DbfTable::set_deleted(bool del) {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (read_only_) return invalid("Arquivo " + path_ + " aberto s\xa2 para leitura");
  if (eof_) return invalid("Fim de arquivo: nenhum registro para gravar em " + path_);
  rec_[0] = del ? '*' : ' ';
  dirty_ = true;
  return DbfStatus::ok();
}

// ---- whole-file operations ---------------------------------------------

DbfStatus DbfTable::copy_structure(const std::string& path) const {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  return create(path, header_.fields, update_date());
}

DbfStatus DbfTable::zap() {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (!exclusive()) return invalid("Arquivo " + path_ + " precisa estar aberto em modo exclusivo");
  dirty_ = pending_append_ = false;
  count_ = 0;
  // The count goes first: a stop half way leaves an empty table with stray
  // bytes after it, never a count beyond the file.
  if (DbfStatus s = write_header_prefix(); !s) return s;
  header_dirty_ = false;
  char eof = static_cast<char>(kDbfEofMarker);
  unmap_file();
  if (::ftruncate(fd_, header_.header_len) != 0 || !pwrite_full(fd_, &eof, 1, header_.header_len))
    return io_error("Erro ao gravar");
  win_first_ = win_n_ = last_read_ = 0;
  if (memo_.is_open()) {
    if (DbfStatus s = memo_.reset(); !s) return s;
  }
  return go_eof();
}

DbfStatus DbfTable::pack() {
  if (fd_ < 0) return invalid("Tabela n\xc6o est\xa0 aberta");
  if (!exclusive()) return invalid("Arquivo " + path_ + " precisa estar aberto em modo exclusivo");
  if (DbfStatus s = commit(); !s) return s;
  std::string tmp;
  int out = open_sibling_temp(path_, tmp);
  if (out < 0) return io_error("N\xc6o foi poss\xa1vel criar arquivo tempor\xa0rio para");
  auto fail = [&](DbfStatus s) {
    ::close(out);
    ::unlink(tmp.c_str());
    return s;
  };
  // The new file is locked before it takes the name, so no other terminal
  // can open it in between.
  if (platform::try_open_lock(out, true) != platform::LockResult::Acquired)
    return fail(io_error("Erro ao bloquear"));
  struct stat st {};
  if (::fstat(fd_, &st) == 0) ::fchmod(out, st.st_mode & 07777);

  const std::size_t rl = header_.record_len;
  std::string head(header_.header_len, '\0');
  if (!pread_full(fd_, head.data(), head.size(), 0)) return fail(io_error("Erro ao ler"));
  const std::uint32_t per = static_cast<std::uint32_t>(std::max<std::size_t>(1, kWindowBytes / rl));
  std::string in(std::size_t(per) * rl, '\0');
  std::string kept;
  kept.reserve(in.size() + 1);
  std::uint32_t kept_count = 0;
  std::uint64_t out_off = header_.header_len;
  for (std::uint32_t first = 1; first <= count_; first += per) {
    std::uint32_t n = std::min<std::uint32_t>(per, count_ - first + 1);
    if (!pread_full(fd_, in.data(), std::size_t(n) * rl, header_.record_offset(first)))
      return fail(io_error("Erro ao ler"));
    kept.clear();
    for (std::uint32_t k = 0; k < n; ++k) {
      const char* r = in.data() + std::size_t(k) * rl;
      if (r[0] == '*') continue;
      kept.append(r, rl);
      ++kept_count;
    }
    if (!pwrite_full(out, kept.data(), kept.size(), out_off)) return fail(io_error("Erro ao gravar"));
    out_off += kept.size();
  }
  char eof = static_cast<char>(kDbfEofMarker);
  put_dbf_count_and_date(head.data(), kept_count, update_date());
  if (!pwrite_full(out, &eof, 1, out_off) || !pwrite_full(out, head.data(), head.size(), 0) ||
      ::fsync(out) != 0)
    return fail(io_error("Erro ao gravar"));
  if (::rename(tmp.c_str(), path_.c_str()) != 0) return fail(io_error("Erro ao renomear"));
  sync_parent_folder(path_);
  unmap_file();
  ::close(fd_);
  fd_ = out;
  map_file();
  count_ = header_.record_count = kept_count;
  win_first_ = win_n_ = last_read_ = 0;
  dirty_ = pending_append_ = header_dirty_ = false;
  if (count_ > 0) return go(1);
  return go_eof();
}

}  // namespace tx::storage
