#include "storage/dbf_format.hpp"

#include <algorithm>


namespace tx::storage {

// Texts are code page 850 bytes (\x82 é, \x87 ç, \xa0 á, \xa2 ó, \xa3 ú, \xc6 ã).
namespace {

unsigned byte_at(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }

std::uint32_t le32(std::string_view b, std::size_t i) {
  return byte_at(b, i) | (byte_at(b, i + 1) << 8) | (byte_at(b, i + 2) << 16) |
         (std::uint32_t(byte_at(b, i + 3)) << 24);
}
std::uint16_t le16(std::string_view b, std::size_t i) {
  return static_cast<std::uint16_t>(byte_at(b, i) | (byte_at(b, i + 1) << 8));
}
void put_le32(char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put_le16(char* p, unsigned v) {
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>((v >> 8) & 0xFF);
}

DbfStatus damaged(std::string_view why) {
  return DbfStatus::fail(DbfCode::Damaged, std::string("Arquivo danificado: ") + std::string(why));
}
DbfStatus invalid(std::string_view why) {
  return DbfStatus::fail(DbfCode::Invalid, std::string(why));
}

char upper_ascii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper_ascii(a[i]) != upper_ascii(b[i])) return false;
  return true;
}

bool has_duplicates(const std::vector<FieldDef>& f) {
  for (std::size_t i = 0; i < f.size(); ++i)
    for (std::size_t j = i + 1; j < f.size(); ++j)
      if (same_name(f[i].name, f[j].name)) return true;
  return false;
}

// Width rules shared by reading and creation; empty when the width is sound.
const char* width_problem(const FieldDef& f) {
  switch (f.type) {
    case 'C':
      if (f.len < 1 || f.len > 65535 - 1) return "largura de campo caractere fora do limite";
      return nullptr;
    case 'N':
      if (f.len < 1 || f.len > kDbfMaxNumericWidth) return "largura de campo num\x82rico fora do limite";
      if (f.dec < 0 || (f.dec > 0 && f.dec >= f.len)) return "decimais de campo num\x82rico fora do limite";
      return nullptr;
    case 'D': return f.len == 8 ? nullptr : "campo data deve ter largura 8";
    case 'L': return f.len == 1 ? nullptr : "campo l\xa2gico deve ter largura 1";
    case 'M': return f.len == 10 ? nullptr : "campo memo deve ter largura 10";
    default: return "tipo de campo desconhecido";
  }
}

}  // namespace

bool DbfHeader::has_memo_fields() const {
  return std::any_of(fields.begin(), fields.end(), [](const FieldDef& f) { return f.type == 'M'; });
}

DbfStatus parse_dbf_prefix(std::string_view b, DbfHeader& out) {
  if (b.size() < kDbfPrefixSize) return damaged("cabe\x87""alho incompleto");
  unsigned version = byte_at(b, 0);
  if (version != kDbfVersionPlain && version != kDbfVersionMemo)
    return damaged("n\xc6o \x82 uma tabela reconhecida (vers\xc6o desconhecida)");
  out = DbfHeader{};
  out.version = static_cast<unsigned char>(version);
  out.update_year = 1900 + static_cast<int>(byte_at(b, 1));
  out.update_month = static_cast<int>(byte_at(b, 2));
  out.update_day = static_cast<int>(byte_at(b, 3));
  out.record_count = le32(b, 4);
  out.header_len = le16(b, 8);
  out.record_len = le16(b, 10);
  out.language = static_cast<unsigned char>(byte_at(b, 29));
  if (out.header_len < kDbfPrefixSize + kDbfDescriptorSize + 1)
    return damaged("tamanho do cabe\x87""alho inv\xa0lido");
  if (out.record_len < 2) return damaged("tamanho do registro inv\xa0lido");
  return DbfStatus::ok();
}

DbfStatus parse_dbf_header(std::string_view b, DbfHeader& out) {
  if (DbfStatus s = parse_dbf_prefix(b, out); !s) return s;
  if (b.size() < out.header_len) return damaged("cabe\x87""alho incompleto");
  std::string_view head = b.substr(0, out.header_len);
  std::size_t pos = kDbfPrefixSize;
  int offset = 1;
  while (pos < head.size() && byte_at(head, pos) != kDbfHeaderEnd) {
    if (pos + kDbfDescriptorSize > head.size()) return damaged("descritor de campo incompleto");
    std::string_view d = head.substr(pos, kDbfDescriptorSize);
    FieldDef f;
    std::size_t nlen = 0;
    while (nlen < 11 && d[nlen] != '\0') ++nlen;
    if (nlen == 0 || nlen > 10) return damaged("nome de campo inv\xa0lido");
    f.name.resize(nlen);
    for (std::size_t i = 0; i < nlen; ++i) {
      unsigned char c = static_cast<unsigned char>(d[i]);
      if (c <= 0x20 || c >= 0x7F) return damaged("nome de campo inv\xa0lido");
      f.name[i] = upper_ascii(static_cast<char>(c));
    }
    f.type = upper_ascii(d[11]);
    f.len = static_cast<int>(byte_at(d, 16));
    f.dec = static_cast<int>(byte_at(d, 17));
    if (f.type == 'C') {
      f.len |= f.dec << 8;
      f.dec = 0;
    } else if (f.type != 'N') {
      f.dec = 0;
    }
    if (const char* why = width_problem(f)) return damaged(why);
    out.offsets.push_back(offset);
    offset += f.len;
    if (offset > kDbfMaxRecordLength) return damaged("registro longo demais");
    out.fields.push_back(std::move(f));
    pos += kDbfDescriptorSize;
  }
  if (pos >= head.size()) return damaged("fim do cabe\x87""alho n\xc6o encontrado");
  if (out.fields.empty()) return damaged("tabela sem campos");
  if (head.size() - (pos + 1) > static_cast<std::size_t>(kDbfMaxHeaderSlack))
    return damaged("tamanho do cabe\x87""alho n\xc6o confere com os campos");
  if (offset != out.record_len) return damaged("tamanho do registro n\xc6o confere com os campos");
  if (has_duplicates(out.fields)) return damaged("nome de campo repetido");
  return DbfStatus::ok();
}

DbfStatus check_dbf_size(const DbfHeader& h, std::uint64_t file_size) {
  if (file_size < h.header_len) return damaged("arquivo truncado no cabe\x87""alho");
  std::uint64_t room = (file_size - h.header_len) / h.record_len;
  if (h.record_count > room)
    return damaged("o n\xa3mero de registros excede o tamanho do arquivo");
  return DbfStatus::ok();
}

DbfStatus validate_dbf_fields(const std::vector<FieldDef>& fields) {
  if (fields.empty()) return invalid("Estrutura sem campos");
  if (fields.size() > static_cast<std::size_t>(kDbfMaxFields)) return invalid("Campos demais");
  long total = 1;
  for (const FieldDef& f : fields) {
    if (f.name.empty() || f.name.size() > 10) return invalid("Nome de campo inv\xa0lido: " + f.name);
    char first = upper_ascii(f.name[0]);
    if (first < 'A' || first > 'Z') return invalid("Nome de campo inv\xa0lido: " + f.name);
    for (char c : f.name) {
      char u = upper_ascii(c);
      if (!((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_'))
        return invalid("Nome de campo inv\xa0lido: " + f.name);
    }
    char t = upper_ascii(f.type);
    FieldDef probe = f;
    probe.type = t;
    if (t == 'N' && f.dec > 0 && f.dec > f.len - 2)
      return invalid("Decimais demais no campo " + f.name);
    if (t != 'N' && f.dec != 0) return invalid("Decimais s\xa2 em campo num\x82rico: " + f.name);
    if (const char* why = width_problem(probe)) return invalid(std::string(why) + ": " + f.name);
    total += f.len;
  }
  if (total > kDbfMaxRecordLength) return invalid("Registro longo demais");
  if (has_duplicates(fields)) return invalid("Nome de campo repetido");
  return DbfStatus::ok();
}

void put_dbf_count_and_date(char* p, std::uint32_t record_count, Date d) {
  if (!d.empty()) {
    p[1] = static_cast<char>(std::clamp(d.year() - 1900, 0, 255));
    p[2] = static_cast<char>(d.month());
    p[3] = static_cast<char>(d.day());
  }
  put_le32(p + 4, record_count);
}

std::string build_dbf_header(const std::vector<FieldDef>& fields, std::uint32_t record_count,
                             Date last_update) {
  const std::size_t header_len = kDbfPrefixSize + kDbfDescriptorSize * fields.size() + 1;
  std::string h(header_len, '\0');
  bool memo = std::any_of(fields.begin(), fields.end(),
                          [](const FieldDef& f) { return upper_ascii(f.type) == 'M'; });
  h[0] = static_cast<char>(memo ? kDbfVersionMemo : kDbfVersionPlain);
  put_dbf_count_and_date(h.data(), record_count, last_update);
  unsigned record_len = 1;
  for (const FieldDef& f : fields) record_len += static_cast<unsigned>(f.len);
  put_le16(h.data() + 8, static_cast<unsigned>(header_len));
  put_le16(h.data() + 10, record_len);
  h[29] = static_cast<char>(kDbfLanguageCp850);
  unsigned offset = 1;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    char* d = h.data() + kDbfPrefixSize + kDbfDescriptorSize * i;
    const FieldDef& f = fields[i];
    for (std::size_t k = 0; k < f.name.size() && k < 10; ++k) d[k] = upper_ascii(f.name[k]);
    char t = upper_ascii(f.type);
    d[11] = t;
    put_le32(d + 12, offset);
    if (t == 'C') {
      d[16] = static_cast<char>(f.len & 0xFF);
      d[17] = static_cast<char>((f.len >> 8) & 0xFF);
    } else {
      d[16] = static_cast<char>(f.len);
      d[17] = static_cast<char>(t == 'N' ? f.dec : 0);
    }
    offset += static_cast<unsigned>(f.len);
  }
  h[header_len - 1] = static_cast<char>(kDbfHeaderEnd);
  return h;
}

}  // namespace tx::storage
