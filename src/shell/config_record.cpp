#include "shell/config_record.hpp"

#include <variant>

#include "base/codepage.hpp"
#include "base/xbase.hpp"

namespace tx::shell {

using storage::Tables;
using storage::WorkArea;

namespace {

// One configuration field and the global it mirrors.
using Member = std::variant<std::string Globals::*, int Globals::*, bool Globals::*, Date Globals::*>;
struct ConfigField {
  std::string_view name;
  Member member;
};

const ConfigField kConfigFields[] = {
    {"ROTAANTER", &Globals::ROTAANTER}, {"ROTADOANO", &Globals::ROTADOANO},
    {"ROTAREANT", &Globals::ROTAREANT}, {"ROTARECEI", &Globals::ROTARECEI},
    {"ROTAJAVA", &Globals::ROTAJAVA},   {"ROTABACK", &Globals::ROTABACK},
    {"dirtrab", &Globals::DIRTRAB},     {"DIRPROV", &Globals::DIRPROV},
    {"DIRINST", &Globals::DIRINST},     {"queimp", &Globals::QUEIMP},
    {"quemod", &Globals::QUEMOD},       {"quepag", &Globals::QUEPAG},
    {"quecon", &Globals::QUECON},       {"ENV_STAT", &Globals::ENV_STAT},
    {"MARESQ", &Globals::MARESQ},       {"INIFOL", &Globals::INIFOL},
    {"LINETI", &Globals::LINETI},       {"NRO_LIN", &Globals::NRO_LIN},
    {"OPC_TRAN", &Globals::OPC_TRAN},   {"compaga", &Globals::COMPAGA},
    {"ImpBem", &Globals::IMPBEM},       {"ImpBal", &Globals::IMPBAL},
    {"mosimp", &Globals::MOSIMP},       {"mostel", &Globals::MOSTEL},
    {"mosCPF", &Globals::MOSCPF},       {"querSen", &Globals::QUERSEN},
    {"ult_senIR", &Globals::ULT_SENIR}, {"ult_cpf", &Globals::ULT_CPF},
    {"XDRIVE", &Globals::XDRIVE},       {"SOESTE", &Globals::SOESTE},
    {"OPTTRAN", &Globals::OPTTRAN},     {"ULTBACK", &Globals::ULTBACK},
    {"OPCIRPF", &Globals::OPCIRPF},     {"NOMEAG", &Globals::NOMEAG},
};

const ConfigField* config_field(std::string_view name) {
  for (const auto& f : kConfigFields)
    if (UPPER(f.name) == UPPER(name)) return &f;
  return nullptr;
}

void put_field(WorkArea& wa, const ConfigField& f, const Globals& g) {
  std::visit(
      [&](auto m) {
        using T = std::remove_cvref_t<decltype(g.*m)>;
        if constexpr (std::is_same_v<T, std::string>) wa.replace_text(f.name, g.*m);
        else if constexpr (std::is_same_v<T, int>) wa.replace_number(f.name, Decimal(g.*m));
        else if constexpr (std::is_same_v<T, bool>) wa.replace_logical(f.name, g.*m);
        else wa.replace_date(f.name, g.*m);
      },
      f.member);
}

void get_field(const WorkArea& wa, const ConfigField& f, Globals& g) {
  std::visit(
      [&](auto m) {
        using T = std::remove_cvref_t<decltype(g.*m)>;
        if constexpr (std::is_same_v<T, std::string>) g.*m = wa.trimmed(f.name);
        else if constexpr (std::is_same_v<T, int>) g.*m = static_cast<int>(wa.get_number(f.name).to_long());
        else if constexpr (std::is_same_v<T, bool>) g.*m = wa.get_logical(f.name);
        else g.*m = wa.get_date(f.name);
      },
      f.member);
}

// Finds the terminal's record in the open table 42.
bool seek_terminal(WorkArea& wa, const std::string& nusu) {
  wa.set_order(1);
  wa.seek(nusu);
  return wa.found();
}

}  // namespace

const std::vector<std::string_view> kExitFields = {
    "NOMEAG", "ROTADOANO", "ROTARECEI", "ROTAJAVA", "ult_cpf", "querSen", "ult_senIR",
    "dirtrab", "OPTTRAN", "SOESTE", "ULTBACK", "OPCIRPF", "ENV_STAT", "MARESQ",
    "INIFOL", "LINETI", "NRO_LIN", "OPC_TRAN", "XDRIVE"};
const std::vector<std::string_view> kSelectionFields = {
    "queimp", "quemod", "quepag", "quecon", "compaga", "ImpBem", "ImpBal",
    "mosimp", "mostel", "mosCPF", "MARESQ", "INIFOL", "LINETI", "NRO_LIN"};
const std::vector<std::string_view> kPrintCountFields = {"queimp", "quemod", "quepag", "quecon"};

bool CONFIGURA(Tables& tables, const Globals& g, Date today) {
  if (!tables.ABERTURA(kConfigTable)) return false;
  WorkArea& wa = tables.area(kConfigTable);
  if (seek_terminal(wa, g.NUSU)) return true;
  tables.SELECT(kConfigTable);
  if (!tables.ADD_REC(5)) return false;
  Globals d;  // the defaults of a new terminal
  d.ROTAANTER = "C:\\TX2013";
  d.ROTADOANO = g.ROTADEF;
  d.ROTARECEI = "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2014\\APLICACAO\\DADOS";
  d.ROTAREANT = "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2013\\TRANSMITIDAS";
  d.ROTAJAVA = d.ROTARECEI;
  d.DIRTRAB = g.ROTADEF;
  d.DIRPROV = g.DIRDEF;
  d.DIRINST = "C:\\TX2013";
  d.ULTBACK = today;
  d.MOSCPF = "";
  d.NOMEAG = "";
  wa.replace_text("NRO_TERM", g.NUSU);
  for (const auto& f : kConfigFields) put_field(wa, f, d);
  wa.replace_number("ult_ter", Decimal(0));
  wa.replace_number("ult_mod", Decimal(1));
  wa.replace_number("ult_senAAR", Decimal(0));
  wa.commit();
  wa.unlock();
  return true;
}

void load_config(const WorkArea& wa, Globals& g) {
  for (const auto& f : kConfigFields) get_field(wa, f, g);
  if (g.ULT_CPF.empty()) g.ULT_CPF = std::string(11, ' ');
  g.ULT_CPF = PADR(g.ULT_CPF, 11);
  g.CPF = g.ULT_CPF;
  if (g.NOMEAG.empty()) g.NOMEAG = "USUARIO DO TERMINAL " + g.NUSU;
}

bool write_config(Tables& tables, const Globals& g, const std::vector<std::string_view>& names) {
  WorkArea& wa = tables.area(kConfigTable);
  if (!wa.used() && !tables.ABERTURA(kConfigTable)) return false;
  tables.SELECT(kConfigTable);
  if (!seek_terminal(wa, g.NUSU)) {
    if (!tables.ADD_REC(5)) return false;
    wa.replace_text("NRO_TERM", g.NUSU);
    wa.commit();
  } else if (!tables.REC_LOCK(5)) {
    return false;
  }
  bool ok = true;
  for (auto name : names) {
    const ConfigField* f = config_field(name);
    if (!f) { ok = false; continue; }
    put_field(wa, *f, g);
  }
  ok = static_cast<bool>(wa.commit()) && ok;
  wa.unlock();
  return ok;
}

bool load_settings(Tables& tables, Globals& g) {
  if (!tables.ABERTURA(kSettingsTable)) return false;
  WorkArea& wa = tables.area(kSettingsTable);
  wa.go_top();
  if (!wa.eof()) {
    g.VAL_SEG = wa.get_number("VAL_SEG");
    g.VAL_BYTE = wa.get_number("VAL_BYTE");
    g.VAL_MIN = wa.get_number("VAL_MIN");
    g.VAL_CPMF = wa.get_number("VAL_CPMF");
    g.COMO_SAL = static_cast<int>(wa.get_number("COMO_SAL").to_long());
    g.TEMP_SAL = static_cast<int>(wa.get_number("TEMP_SAL").to_long());
    g.TEMP_DES = static_cast<int>(wa.get_number("TEMP_DES").to_long());
    g.BOL_NOSNRO = static_cast<long>(wa.get_number("BOL_NOSNRO").to_long());
    g.SER_SMTP = wa.trimmed("SER_SMTP");
    g.NOM_USUA = wa.trimmed("NOM_USUA");
    g.EMA_USUA = wa.trimmed("EMA_USUA");
    g.SEN_USUA = wa.trimmed("SEN_USUA");
    g.MEMORIZ = wa.trimmed("MEMORIZ");
    g.VER_ATUAL = wa.trimmed("VER_ATUAL");
    g.PROCESSA = wa.trimmed("PROCESSA");
    g.PROGCOMP = wa.trimmed("PROGCOMP");
    g.STATRAVA = static_cast<int>(wa.get_number("STATRAVA").to_long());
    for (int i = 0; i < 8; ++i) g.DAT_VENC[static_cast<std::size_t>(i)] = wa.get_date("VCTO" + std::to_string(i + 1));
    g.NVALDOLAR = wa.get_number("VAL_DOLAR");
  }
  g.BOL_BANCO = 341;
  g.CVALDOLAR = STR(g.NVALDOLAR, 6, 4);
  wa.close();
  return true;
}

bool write_setting(Tables& tables, std::string_view field, std::string_view value) {
  WorkArea& wa = tables.area(kSettingsTable);
  bool was_open = wa.used();
  if (!was_open && !tables.ABERTURA(kSettingsTable)) return false;
  tables.SELECT(kSettingsTable);
  wa.go_top();
  bool ok = false;
  if (wa.eof() ? static_cast<bool>(tables.ADD_REC(5)) : tables.REC_LOCK(5)) {
    ok = static_cast<bool>(wa.replace_text(field, value)) && static_cast<bool>(wa.commit());
    wa.unlock();
  }
  if (!was_open) wa.close();
  return ok;
}

}  // namespace tx::shell
