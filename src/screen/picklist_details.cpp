// The taxpayer keys of the pick lists: details (F6) and pending notes (F11).
#include <vector>

#include "base/codepage.hpp"
#include "base/picture.hpp"
#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "screen/browse_db.hpp"
#include "screen/picklist.hpp"

namespace tx::screen {

namespace {

constexpr int kRegister = 9, kNotes = 11, kNotesCopy = 31;

// One line of the details dialog: label and the field shown after it.
struct Detail {
  int row, col;
  std::string_view label;
  std::string_view field;
  std::string_view picture;
};

const std::vector<Detail>& details() {
  static const std::vector<Detail> rows = {
      {0, 1, "CPF: ", "CPF", "@R 999.999.999-99"},
      {0, 27, "Senha: ", "SENACESSO", ""},
      {0, 50, "Código: "_cp, "CODACESSO", "@Z 999999999999"},
      {1, 1, "Nome: ", "NOMECONTR", ""},
      {1, 62, "Rural: ", "TEMRURAL", ""},
      {2, 1, "Nascimento: ", "NASCIMENTO", "@D"},
      {2, 50, "Título: "_cp, "TITULO", "@r 99999999999-99"},
      {3, 1, "CPF do cônjuge: "_cp, "CPFCONJU", "@R 999.999.999-99"},
      {3, 38, "Brasil: ", "EBRASIL", ""},
      {3, 50, "Exterior: ", "EXTERIOR", ""},
      {3, 64, "Retifica: ", "RETIFICA", ""},
      {4, 1, "Recibo anterior: ", "RECIBOANT", "@r 999999999999"},
      {4, 38, "Recibo atual: ", "RECIBOATU", "@r 999999999999"},
      {5, 1, "Banco: ", "BANCO", "@r ###"},
      {5, 14, "Agência: "_cp, "AGENCIA", "@r !!!!!-!"},
      {5, 33, "Conta: ", "CONTACO", "@r !!!!!!!!!!!!!-!!"},
      {6, 1, "Endereço: "_cp, "TIPOEND", ""},
      {6, 23, "", "ENDERECO", ""},
      {6, 61, "", "NUMERO", ""},
      {7, 1, "Complemento: ", "COMPLEM", ""},
      {7, 36, "Bairro: ", "BAIRRO", ""},
      {8, 1, "CEP: ", "CEP", "@r 99999-999"},
      {8, 17, "UF: ", "UF", ""},
      {8, 24, "Município: "_cp, "MUNICIPIO", ""},
      {9, 1, "País: "_cp, "CODPAIS", ""},
      {9, 13, "Embaixada: ", "CODEMB", ""},
      {10, 1, "Telefone: ", "DDDTEL", "@R #999"},
      {10, 16, "", "TELEFO", "@R ##99-9999"},
      {10, 30, "Fax: ", "DDDFAX", "@R #999"},
      {10, 40, "", "NROFAX", "@R ##99-9999"},
      {11, 1, "E-mail: ", "EMAIL", ""},
  };
  return rows;
}

std::string shown(storage::WorkArea& r, const Detail& d) {
  const auto& t = r.table();
  int i = t.field_index(d.field);
  if (i < 0) return {};
  // The access password is never shown in clear.
  if (d.field == "SENACESSO") return std::string(ALLTRIM(r.get_text(d.field)).size(), '*');
  switch (t.field(i).type) {
    case 'N': return TRANSFORM(r.get_number(d.field), d.picture.empty() ? "@Z" : d.picture);
    case 'D': return TRANSFORM(r.get_date(d.field), "@D");
    default: return d.picture.empty() ? RTRIM(r.get_text(d.field)) : TRANSFORM(r.get_text(d.field), d.picture);
  }
}

int age(Date birth, Date today) {
  if (birth.empty() || today.empty()) return -1;
  int years = today.year() - birth.year();
  if (today.month() < birth.month() || (today.month() == birth.month() && today.day() < birth.day())) --years;
  return years;
}

}  // namespace

void PickList::MOS_DETAL() {
  storage::WorkArea& r = tables_.area(kRegister);
  if (!r.used() || r.eof()) return;
  auto d = screen_.LDLGSHOW(0, 0, 12, 78, "Detalhes");
  const auto attr = static_cast<unsigned char>(ACHACOR(d ? d->cColor : std::string("N/W")));
  auto& con = screen_.console();
  for (const auto& line : details()) {
    std::string text = std::string(line.label) + shown(r, line);
    if (line.field == "NASCIMENTO" && screen_.today) {
      int years = age(r.get_date("NASCIMENTO"), screen_.today());
      if (years >= 0) text += "  Idade: " + std::to_string(years);
    }
    con.put_text(line.row + platform::kScreenTop, line.col, text, attr);
  }
  for (;;) {
    int k = screen_.wait_key();
    if (k == key::kEsc || k == kQuitKey) break;
  }
  if (d) d->close();
}

bool PickList::MOS_PEND() {
  storage::WorkArea& reg = tables_.area(kRegister);
  const std::string cpf = reg.used() ? std::string(reg.get_text("CPF")) : std::string();
  const int selected = tables_.selected();
  storage::WorkArea& copy = tables_.area(kNotesCopy);
  if (copy.used()) copy.close();
  if (!tables_.ABERTURA(kNotesCopy, true)) {
    screen_.AVISOSN("Terminal com esse nro aberto em outro local"_cp.str());
    tables_.SELECT(selected);
    return false;
  }
  copy.zap();
  storage::WorkArea& notes = tables_.area(kNotes);
  const bool opened = !notes.used();
  if (opened && !tables_.ABERTURA(kNotes)) {
    copy.close();
    screen_.AVISOSN("Terminal com esse nro aberto em outro local"_cp.str());
    tables_.SELECT(selected);
    return false;
  }
  const int order = notes.order();
  notes.set_order(1);
  for (notes.seek(cpf); !notes.eof() && notes.get_text("CPF") == cpf; notes.skip()) {
    copy.append_blank();
    for (int i = 0; i < notes.table().field_count(); ++i) {
      int j = copy.table().field_index(notes.table().field(i).name);
      if (j >= 0) copy.replace_raw(j, notes.table().raw(i));
    }
  }
  copy.commit();
  notes.set_order(order);
  if (opened) notes.close();
  copy.set_order(1);
  copy.go_top();
  tables_.SELECT(kNotesCopy);

  auto d = screen_.LDLGSHOW(2, 9, 16, 70, "Pendências"_cp.str());
  if (hooks.pending) {
    hooks.pending(tables_);
  } else {
    TBrowse grid = TBrowseDB(screen_.console(), 2, 9, 16, 70, copy);
    grid.ColorSpec = screen_.colours.COR_CLI_HE + "," + screen_.colours.COR_ESC_CL;
    grid.HeadSep = "═"_cp;
    grid.ColSep = "│"_cp;
    grid.AddColumn(field_column(copy, "Cod", "CODERR", "99"));
    grid.AddColumn(field_column(copy, "Pendência"_cp, "OBSERV"));
    for (;;) {
      grid.ForceStable();
      int k = screen_.wait_key();
      if (k == key::kEsc || k == kQuitKey) break;
      if (k == key::kUp) grid.Up();
      if (k == key::kDown) grid.Down();
      if (k == key::kPgUp) grid.PageUp();
      if (k == key::kPgDn) grid.PageDown();
    }
  }
  if (d) d->close();
  copy.close();
  tables_.SELECT(selected);
  return true;
}

}  // namespace tx::screen
