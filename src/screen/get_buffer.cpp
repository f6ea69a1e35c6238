#include "screen/get_buffer.hpp"

#include <algorithm>
#include <cstdlib>

#include "base/xbase.hpp"
#include "screen/get_clipboard.hpp"

namespace tx::screen {

namespace {

bool is_text_slot(char c) {
  return c == '9' || c == '#' || c == 'A' || c == 'N' || c == 'X' || c == 'L' || c == 'Y' || c == '!';
}
bool digit(unsigned char c) { return c >= '0' && c <= '9'; }
// Code page 850 letters: ASCII letters and the accented bytes from 128 on.
bool letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128; }

// The function part of a picture ("@EZ"), without the template and blank.
std::string function_part(std::string_view picture, const Picture& p) {
  if (picture.empty() || picture[0] != '@') return {};
  std::string f(picture.substr(0, picture.size() - p.tmpl.size()));
  while (!f.empty() && f.back() == ' ') f.pop_back();
  return f;
}

}  // namespace

GetBuffer::GetBuffer(GetKind kind, std::string_view picture, int width, int decimals, bool upper)
    : kind_(kind) {
  Picture p = parse_picture(picture);
  clear_first_ = p.clear_first;
  fresh_ = clear_first_;
  switch (kind) {
    case GetKind::Number: {
      tmpl_ = p.tmpl;
      if (tmpl_.empty()) {
        const int w = width > 0 ? width : 10;
        const int d = std::clamp(decimals, 0, std::max(0, w - 2));
        tmpl_ = std::string(static_cast<std::size_t>(d > 0 ? w - d - 1 : w), '9');
        if (d > 0) tmpl_ += "." + std::string(static_cast<std::size_t>(d), '9');
      }
      std::string f = function_part(picture, p);
      pic_ = f.empty() ? tmpl_ : f + " " + tmpl_;
      const std::size_t point = tmpl_.find('.');
      for (std::size_t i = 0; i < tmpl_.size(); ++i) {
        if (tmpl_[i] != '9' && tmpl_[i] != '#') continue;
        if (point == std::string::npos || i < point) int_pos_.push_back(static_cast<int>(i));
        else dec_pos_.push_back(static_cast<int>(i));
      }
      int_slots_ = static_cast<int>(int_pos_.size());
      dec_slots_ = static_cast<int>(dec_pos_.size());
      fresh_ = true;  // numbers: the first value key always replaces the value
      break;
    }
    case GetKind::Date:
      buf_ = "  /  /    ";
      slots_ = std::string("99\0" "99\0" "9999", 10);
      break;
    case GetKind::Logical:
      logical_yn_ = !p.tmpl.empty() && upper_char(p.tmpl[0]) == 'Y';
      buf_ = " ";
      slots_ = "L";
      break;
    case GetKind::Text: {
      upper_all_ = p.upper || upper;
      scroll_ = p.scroll;
      insert_literals_ = p.insert;
      if (p.tmpl.empty()) {
        buf_ = std::string(static_cast<std::size_t>(std::max(width, 0)), ' ');
        slots_ = std::string(buf_.size(), 'X');
      } else {
        buf_ = p.tmpl;
        slots_.clear();
        for (char c : p.tmpl) slots_ += is_text_slot(c) ? c : '\0';
      }
      break;
    }
  }
  for (std::size_t i = 0; i < slots_.size(); ++i)
    if (slots_[i] != '\0') typable_.push_back(static_cast<int>(i));
  if (!typable_.empty()) pos_ = typable_.front();
}

GetBuffer GetBuffer::for_field(const GetField& f, const GetValue& current) {
  const GetKind kind = kind_of(current);
  int width = f.width;
  if (kind == GetKind::Text && width <= 0) width = static_cast<int>(std::get<std::string>(current).size());
  GetBuffer b(kind, f.picture, width, f.decimals, f.upper);
  b.load(current);
  return b;
}

void GetBuffer::load(const GetValue& v) {
  edited_ = false;
  fresh_ = clear_first_;
  switch (kind_) {
    case GetKind::Number: {
      loaded_ = std::get<Decimal>(v);
      std::string plain = loaded_.round(dec_slots_).abs().str(dec_slots_);
      std::size_t dot = plain.find('.');
      int_digits_ = plain.substr(0, dot);
      if (int_digits_ == "0") int_digits_.clear();
      dec_digits_ = dot == std::string::npos ? std::string() : plain.substr(dot + 1);
      neg_ = loaded_.round(dec_slots_).negative();
      dec_cursor_ = -1;
      fresh_ = true;
      return;
    }
    case GetKind::Date: {
      Date d = std::get<Date>(v);
      buf_ = d.empty() ? std::string("  /  /    ") : DTOC(d);
      break;
    }
    case GetKind::Logical: {
      const bool b = std::get<bool>(v);
      buf_ = logical_yn_ ? (b ? "Y" : "N") : (b ? "T" : "F");
      break;
    }
    case GetKind::Text: {
      const std::string& t = std::get<std::string>(v);
      std::size_t next = 0;
      for (std::size_t i = 0; i < buf_.size(); ++i) {
        if (slots_[i] == '\0') {
          if (!insert_literals_) ++next;  // the literal stands in the byte's place
          continue;
        }
        unsigned char b = next < t.size() ? static_cast<unsigned char>(t[next]) : ' ';
        ++next;
        buf_[i] = static_cast<char>(fold(slots_[i], b));
      }
      tail_ = next < t.size() ? t.substr(next) : std::string();
      break;
    }
  }
  if (!typable_.empty()) pos_ = typable_.front();
  offset_ = 0;
}

// ---------------------------------------------------------------- display

std::string GetBuffer::number_picture_display(Decimal v) const { return TRANSFORM(v, pic_); }

std::string GetBuffer::display() const {
  if (is_number()) return number_picture_display(edited_ ? number_value() : loaded_);
  if (scroll_ > 0 && scroll_ < static_cast<int>(buf_.size()))
    return buf_.substr(static_cast<std::size_t>(offset_), static_cast<std::size_t>(scroll_));
  return buf_;
}

int GetBuffer::display_width() const {
  if (is_number()) return static_cast<int>(tmpl_.size());
  if (scroll_ > 0 && scroll_ < static_cast<int>(buf_.size())) return scroll_;
  return static_cast<int>(buf_.size());
}

int GetBuffer::cursor() const {
  if (is_number()) {
    if (dec_cursor_ >= 0 && dec_slots_ > 0) return dec_pos_[static_cast<std::size_t>(std::min(dec_cursor_, dec_slots_ - 1))];
    if (!int_pos_.empty()) return int_pos_.back();
    return 0;
  }
  return pos_ - offset_;
}

// ---------------------------------------------------------------- values

Decimal GetBuffer::number_value() const {
  std::string t = neg_ ? "-" : "";
  t += int_digits_.empty() ? "0" : int_digits_;
  if (dec_slots_ > 0) t += "." + dec_digits_;
  return Decimal::parse(t).value_or(Decimal());
}

std::string GetBuffer::text_value() const {
  std::string out;
  for (std::size_t i = 0; i < buf_.size(); ++i)
    if (slots_[i] != '\0' || !insert_literals_) out += buf_[i];
  return out + tail_;
}

std::optional<GetValue> GetBuffer::value() const {
  switch (kind_) {
    case GetKind::Number: return GetValue(edited_ ? number_value() : loaded_);
    case GetKind::Text: return GetValue(text_value());
    case GetKind::Logical: {
      const char u = upper_char(buf_[0]);
      return GetValue(u == 'T' || u == 'Y' || u == 'S');
    }
    case GetKind::Date: {
      if (std::none_of(buf_.begin(), buf_.end(), [](char c) { return digit(static_cast<unsigned char>(c)); }))
        return GetValue(Date());
      Date d = CTOD(buf_);
      if (d.empty() || DTOC(d) != buf_) return std::nullopt;
      return GetValue(d);
    }
  }
  return std::nullopt;
}

// ---------------------------------------------------------------- text rules

bool GetBuffer::accepts(char slot, unsigned char c) const {
  if (c < 32) return false;
  switch (slot) {
    case '9': return digit(c);
    case '#': return digit(c) || c == ' ' || c == '+' || c == '-' || c == '.';
    case 'A': return letter(c);
    case 'N': return letter(c) || digit(c);
    case 'L': {
      const char u = upper_char(static_cast<char>(c));
      return u == 'T' || u == 'F' || u == 'Y' || u == 'N' || u == 'S';
    }
    case 'Y': {
      const char u = upper_char(static_cast<char>(c));
      return u == 'Y' || u == 'N';
    }
    default: return true;  // X and !
  }
}

unsigned char GetBuffer::fold(char slot, unsigned char c) const {
  if (slot == '!' || slot == 'L' || slot == 'Y' || upper_all_)
    return static_cast<unsigned char>(upper_char(static_cast<char>(c)));
  return c;
}

int GetBuffer::slot_index() const {
  auto it = std::find(typable_.begin(), typable_.end(), pos_);
  return it == typable_.end() ? -1 : static_cast<int>(it - typable_.begin());
}

void GetBuffer::move_to_slot(int k) {
  if (typable_.empty()) return;
  k = std::clamp(k, 0, static_cast<int>(typable_.size()) - 1);
  pos_ = typable_[static_cast<std::size_t>(k)];
  keep_in_view();
}

void GetBuffer::keep_in_view() {
  if (scroll_ <= 0 || scroll_ >= static_cast<int>(buf_.size())) return;
  if (pos_ < offset_) offset_ = pos_;
  if (pos_ >= offset_ + scroll_) offset_ = pos_ - scroll_ + 1;
}

// ---------------------------------------------------------------- numbers

int GetBuffer::significant_int_digits() const {
  std::size_t nz = int_digits_.find_first_not_of('0');
  return nz == std::string::npos ? 0 : static_cast<int>(int_digits_.size() - nz);
}

void GetBuffer::clear_number() {
  int_digits_.clear();
  dec_digits_ = std::string(static_cast<std::size_t>(dec_slots_), '0');
  neg_ = false;
  dec_cursor_ = -1;
  edited_ = true;
}

void GetBuffer::begin_number_key() {
  if (fresh_) clear_number();
  fresh_ = false;
  edited_ = true;
}

// ---------------------------------------------------------------- editing

EditResult GetBuffer::type(unsigned char c, bool insert) {
  if (is_number()) {
    if (digit(c)) {
      if (dec_cursor_ >= 0) {
        if (dec_cursor_ >= dec_slots_) return EditResult::Refused;
        begin_number_key();
        dec_digits_[static_cast<std::size_t>(dec_cursor_)] = static_cast<char>(c);
        ++dec_cursor_;
        return dec_cursor_ >= dec_slots_ ? EditResult::Filled : EditResult::Changed;
      }
      const bool was_fresh = fresh_;
      std::string next = (was_fresh ? std::string() : int_digits_) + static_cast<char>(c);
      const int sign = was_fresh ? 0 : (neg_ ? 1 : 0);
      if (static_cast<int>(next.size()) + sign > int_slots_) {
        std::size_t nz = next.find_first_not_of('0');
        next = nz == std::string::npos ? std::string("0") : next.substr(nz);
        if (static_cast<int>(next.size()) + sign > int_slots_) return EditResult::Refused;
      }
      begin_number_key();
      int_digits_ = next;
      if (dec_slots_ == 0 && static_cast<int>(int_digits_.size()) + (neg_ ? 1 : 0) >= int_slots_)
        return EditResult::Filled;
      return EditResult::Changed;
    }
    if (c == '.' || c == ',') {
      if (dec_slots_ == 0) return EditResult::Refused;
      begin_number_key();
      dec_cursor_ = 0;
      return EditResult::Changed;
    }
    if (c == '-') {
      const bool was_fresh = fresh_;
      const int digits = was_fresh ? 0 : significant_int_digits();
      if (!neg_ || was_fresh) {
        if (digits + 1 > int_slots_) return EditResult::Refused;
      }
      begin_number_key();
      neg_ = was_fresh ? true : !neg_;
      return EditResult::Changed;
    }
    return EditResult::Refused;
  }

  const int k = slot_index();
  if (k < 0) return EditResult::Refused;
  const char slot = slots_[static_cast<std::size_t>(pos_)];
  if (!accepts(slot, c)) return EditResult::Refused;
  if (fresh_) {
    for (int i : typable_) buf_[static_cast<std::size_t>(i)] = ' ';
    fresh_ = false;
  }
  const unsigned char b = fold(slot, c);
  if (insert && kind_ == GetKind::Text) {
    const std::size_t last = typable_.size() - 1;
    if (buf_[static_cast<std::size_t>(typable_[last])] != ' ') return EditResult::Refused;
    for (std::size_t t = last; t > static_cast<std::size_t>(k); --t) {
      const std::size_t to = static_cast<std::size_t>(typable_[t]);
      const std::size_t from = static_cast<std::size_t>(typable_[t - 1]);
      if (!accepts(slots_[to], static_cast<unsigned char>(buf_[from])) && buf_[from] != ' ')
        return EditResult::Refused;  // the byte would land where it is not allowed
    }
    for (std::size_t t = last; t > static_cast<std::size_t>(k); --t)
      buf_[static_cast<std::size_t>(typable_[t])] = static_cast<char>(
          fold(slots_[static_cast<std::size_t>(typable_[t])], static_cast<unsigned char>(buf_[static_cast<std::size_t>(typable_[t - 1])])));
  }
  buf_[static_cast<std::size_t>(pos_)] = static_cast<char>(b);
  edited_ = true;
  if (k + 1 >= static_cast<int>(typable_.size())) return EditResult::Filled;
  move_to_slot(k + 1);
  return EditResult::Changed;
}

EditResult GetBuffer::backspace() {
  if (is_number()) {
    fresh_ = false;
    if (dec_cursor_ > 0) {
      --dec_cursor_;
      dec_digits_[static_cast<std::size_t>(dec_cursor_)] = '0';
      edited_ = true;
      return EditResult::Changed;
    }
    if (dec_cursor_ == 0) { dec_cursor_ = -1; return EditResult::Changed; }
    if (int_digits_.empty()) return EditResult::Unchanged;
    edited_ = true;
    int_digits_.pop_back();
    return EditResult::Changed;
  }
  const int k = slot_index();
  if (k <= 0) return EditResult::Unchanged;
  move_to_slot(k - 1);
  return del();
}

EditResult GetBuffer::del() {
  fresh_ = false;
  if (is_number()) {
    clear_number();
    return EditResult::Changed;
  }
  const int k = slot_index();
  if (k < 0) return EditResult::Unchanged;
  if (kind_ == GetKind::Text) {
    for (std::size_t t = static_cast<std::size_t>(k); t + 1 < typable_.size(); ++t) {
      const std::size_t to = static_cast<std::size_t>(typable_[t]);
      const std::size_t from = static_cast<std::size_t>(typable_[t + 1]);
      const unsigned char b = static_cast<unsigned char>(buf_[from]);
      buf_[to] = accepts(slots_[to], b) ? static_cast<char>(fold(slots_[to], b)) : ' ';
    }
    buf_[static_cast<std::size_t>(typable_.back())] = ' ';
  } else {
    buf_[static_cast<std::size_t>(pos_)] = ' ';
  }
  edited_ = true;
  return EditResult::Changed;
}

EditResult GetBuffer::clear_to_end() {
  fresh_ = false;
  if (is_number()) {
    clear_number();
    return EditResult::Changed;
  }
  const int k = slot_index();
  if (k < 0) return EditResult::Unchanged;
  for (std::size_t t = static_cast<std::size_t>(k); t < typable_.size(); ++t)
    buf_[static_cast<std::size_t>(typable_[t])] = ' ';
  edited_ = true;
  return EditResult::Changed;
}

EditResult GetBuffer::home() {
  fresh_ = false;
  if (is_number()) { dec_cursor_ = -1; return EditResult::Changed; }
  move_to_slot(0);
  return EditResult::Changed;
}

EditResult GetBuffer::end() {
  fresh_ = false;
  if (is_number()) {
    if (dec_slots_ > 0) dec_cursor_ = dec_slots_ - 1;
    return EditResult::Changed;
  }
  // After the last byte typed, or on the last position when the text is full.
  int k = 0;
  for (std::size_t t = 0; t < typable_.size(); ++t)
    if (buf_[static_cast<std::size_t>(typable_[t])] != ' ') k = static_cast<int>(t) + 1;
  move_to_slot(k);
  return EditResult::Changed;
}

EditResult GetBuffer::left() {
  fresh_ = false;
  if (is_number()) {
    if (dec_cursor_ > 0) --dec_cursor_;
    else if (dec_cursor_ == 0) dec_cursor_ = -1;
    else return EditResult::Unchanged;
    return EditResult::Changed;
  }
  const int k = slot_index();
  if (k <= 0) return EditResult::Unchanged;
  move_to_slot(k - 1);
  return EditResult::Changed;
}

EditResult GetBuffer::right() {
  fresh_ = false;
  if (is_number()) {
    if (dec_slots_ == 0) return EditResult::Unchanged;
    if (dec_cursor_ < 0) dec_cursor_ = 0;
    else if (dec_cursor_ + 1 < dec_slots_) ++dec_cursor_;
    else return EditResult::Unchanged;
    return EditResult::Changed;
  }
  const int k = slot_index();
  if (k < 0 || k + 1 >= static_cast<int>(typable_.size())) return EditResult::Unchanged;
  move_to_slot(k + 1);
  return EditResult::Changed;
}

void GetBuffer::cursor_to(int offset) {
  fresh_ = false;
  if (is_number() || typable_.empty()) return;
  const int at = offset + offset_;
  int best = 0;
  for (std::size_t t = 0; t < typable_.size(); ++t)
    if (std::abs(typable_[t] - at) < std::abs(typable_[static_cast<std::size_t>(best)] - at)) best = static_cast<int>(t);
  move_to_slot(best);
}

// ---------------------------------------------------------------- clipboard

bool GetBuffer::paste(std::string_view clip) {
  switch (kind_) {
    case GetKind::Number: {
      auto v = clip_number(clip);
      if (!v) return false;
      const Decimal r = v->round(dec_slots_);
      std::string plain = r.abs().str(dec_slots_);
      std::size_t dot = plain.find('.');
      std::string ip = plain.substr(0, dot);
      if (ip == "0") ip.clear();
      if (static_cast<int>(ip.size()) + (r.negative() ? 1 : 0) > int_slots_) return false;
      int_digits_ = ip;
      dec_digits_ = dot == std::string::npos ? std::string() : plain.substr(dot + 1);
      neg_ = r.negative();
      dec_cursor_ = -1;
      fresh_ = false;
      edited_ = true;
      return true;
    }
    case GetKind::Date: {
      auto d = clip_date(clip);
      if (!d) return false;
      buf_ = DTOC(*d);
      edited_ = true;
      fresh_ = false;
      return true;
    }
    case GetKind::Logical: {
      auto b = clip_logical(clip);
      if (!b) return false;
      buf_ = logical_yn_ ? (*b ? "Y" : "N") : (*b ? "T" : "F");
      edited_ = true;
      return true;
    }
    case GetKind::Text: {
      std::string t = clip_line(clip);
      if (EMPTY(t) || typable_.empty()) return false;
      // A text copied as shown (literals in place) gives its typable bytes.
      if (insert_literals_ && t.size() == buf_.size()) {
        bool shown = true;
        for (std::size_t i = 0; i < t.size(); ++i)
          if (slots_[i] == '\0' && t[i] != buf_[i]) shown = false;
        if (shown) {
          std::string bytes;
          for (int i : typable_) bytes += t[static_cast<std::size_t>(i)];
          t = bytes;
        }
      }
      std::string next = buf_;
      for (std::size_t k = 0; k < typable_.size(); ++k) {
        const std::size_t i = static_cast<std::size_t>(typable_[k]);
        const unsigned char b = k < t.size() ? static_cast<unsigned char>(t[k]) : ' ';
        if (b != ' ' && !accepts(slots_[i], b)) return false;
        next[i] = static_cast<char>(fold(slots_[i], b));
      }
      buf_ = next;
      edited_ = true;
      fresh_ = false;
      move_to_slot(0);
      return true;
    }
  }
  return false;
}

std::string GetBuffer::copy_text() const {
  switch (kind_) {
    case GetKind::Number: {
      const Decimal v = edited_ ? number_value() : loaded_;
      std::string s = v.str(dec_slots_);
      std::replace(s.begin(), s.end(), '.', ',');
      return s;
    }
    case GetKind::Date: {
      auto v = value();
      if (!v || std::get<Date>(*v).empty()) return {};
      return DTOC(std::get<Date>(*v));
    }
    case GetKind::Logical: return buf_;
    case GetKind::Text: return RTRIM(text_value());
  }
  return {};
}

}  // namespace tx::screen
