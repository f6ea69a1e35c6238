#include "shell/reference_data.hpp"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/paths.hpp"
#include "storage/dbf_table.hpp"
#include "storage/workarea.hpp"

namespace tx::shell {

const std::vector<std::string> kReferenceTables = {
    "HELPTXT", "CODBENS", "CODEPEN", "CODDIVI", "DESPESA", "UFIRM",  "BANCOS",  "OCUPACAO", "CODNATUR",
    "TABPAIS", "TABEMBA", "CONTAS",  "TABMUNI", "TABLOGR", "STATUS", "CODABENS", "ECACIDAD"};

namespace {

std::vector<std::string> split(std::string_view line, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    auto at = line.find(sep, start);
    parts.emplace_back(line.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  return parts;
}

std::string exe_folder() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "";
  std::string p(buf, static_cast<std::size_t>(n));
  auto slash = p.rfind('/');
  return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

bool read_file(const std::string& linux_path, std::string& out) {
  std::ifstream in(linux_path, std::ios::binary);
  if (!in) return false;
  std::stringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  return true;
}

}  // namespace

std::string find_reference_folder(const std::string& given) {
  if (!given.empty()) return given;
  std::string exe = exe_folder();
  if (exe.empty()) return "";
  for (const char* rel : {"/data/reference", "/../data/reference", "/../share/tx2014/reference"}) {
    std::string p = exe + rel;
    if (platform::is_dir(from_utf8(p))) return p;
  }
  return "";
}

bool read_reference_file(std::string_view text, ReferenceTable& t, std::string* error) {
  t = ReferenceTable{};
  auto fail = [&](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  bool header = true;
  int line_no = 0;
  for (auto& raw : split(text, '\n')) {
    ++line_no;
    std::string line = raw;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (ALLTRIM(line).empty() || line[0] == '#') continue;
    if (header) {
      for (auto& column : split(line, ';')) {
        std::istringstream in(ALLTRIM(column));
        storage::FieldDef f;
        std::string width;
        if (!(in >> f.name >> f.type >> width)) return fail("campo inválido na linha " + std::to_string(line_no));
        auto comma = width.find(',');
        try {
          f.len = std::stoi(width.substr(0, comma));
          f.dec = comma == std::string::npos ? 0 : std::stoi(width.substr(comma + 1));
        } catch (...) {
          return fail("largura inválida na linha " + std::to_string(line_no));
        }
        f.name = UPPER(f.name);
        if (f.type == 'D') f.len = 8;
        if (f.type == 'L') f.len = 1;
        if (f.type == 'M') f.len = 10;
        if (f.name.empty() || f.name.size() > 10 || std::string("CNDLM").find(f.type) == std::string::npos ||
            f.len < 1 || f.len > 254 || f.dec < 0 || (f.dec > 0 && f.dec >= f.len))
          return fail("campo inválido na linha " + std::to_string(line_no));
        t.fields.push_back(f);
      }
      header = false;
      continue;
    }
    auto values = split(line, ';');
    if (values.size() > t.fields.size()) return fail("valores demais na linha " + std::to_string(line_no));
    std::vector<std::string> rec;
    for (auto& v : values) rec.push_back(from_utf8(ALLTRIM(v)));
    rec.resize(t.fields.size());
    t.records.push_back(std::move(rec));
  }
  if (t.fields.empty()) return fail("arquivo sem a linha dos campos");
  return true;
}

std::vector<std::string> install_reference_tables(const std::string& arqdef, const std::string& folder) {
  std::vector<std::string> made;
  if (folder.empty()) return made;
  for (const auto& name : kReferenceTables) {
    const std::string target = arqdef + name + ".DBF";
    if (platform::exists(target)) continue;
    std::string text;
    if (!read_file(folder + "/" + name + ".csv", text)) continue;
    ReferenceTable t;
    if (!read_reference_file(text, t)) continue;
    const std::string temp = arqdef + name + ".~NEW.DBF";
    const std::string temp_linux = platform::create_path(temp);
    platform::remove_file(temp);  // left by an interrupted start
    platform::remove_file(arqdef + name + ".~NEW.FPT");
    if (!storage::DbfTable::create(temp_linux, t.fields)) continue;
    bool ok = true;
    {
      storage::WorkArea wa;
      ok = static_cast<bool>(wa.open(temp_linux, storage::DbfTable::Mode::Exclusive, name));
      for (std::size_t r = 0; ok && r < t.records.size(); ++r) {
        ok = static_cast<bool>(wa.append_blank());
        for (std::size_t i = 0; ok && i < t.fields.size(); ++i) {
          const auto& f = t.fields[i];
          const std::string& v = t.records[r][i];
          if (v.empty()) continue;
          switch (f.type) {
            case 'N': ok = static_cast<bool>(wa.replace_number(f.name, Decimal::val(v))); break;
            case 'D': ok = static_cast<bool>(wa.replace_date(f.name, CTOD(v))); break;
            case 'L': ok = static_cast<bool>(wa.replace_logical(f.name, v == "S" || v == "T")); break;
            case 'M': ok = static_cast<bool>(wa.replace_memo(f.name, v)); break;
            default: ok = static_cast<bool>(wa.replace_text(f.name, v)); break;
          }
        }
      }
      if (ok) ok = static_cast<bool>(wa.commit());
      wa.close();
    }
    // Another copy starting at the same moment may have put it in place.
    // The memo file (for tables with memo fields) goes in place first, so a
    // table is never found without it.
    const std::string temp_memo = arqdef + name + ".~NEW.FPT";
    const bool memo = platform::exists(temp_memo);
    if (ok && memo && !platform::exists(target)) ok = platform::rename_file(temp_memo, arqdef + name + ".FPT", true);
    if (ok && !platform::exists(target) && platform::rename_file(temp, target)) made.push_back(name);
    else platform::remove_file(temp);
    if (memo) platform::remove_file(temp_memo);
  }
  return made;
}

}  // namespace tx::shell
