#include "shell/print_selection.hpp"

#include <algorithm>

#include "base/codepage.hpp"

namespace tx::shell {

const std::array<std::string, 15> ALISTIMP = {
    "IRenda modo Receita", "IRenda modo  ZEFO  ", "Atividade Rural    ", "Livro caixa Rural  ",
    "Darfes             ", "Ganho de capital   ", "Renda variável     "_cp, "carta Personalizada",
    "Anotações especiais"_cp, "Livro caixa Normal ", "Valores a cobrar   ", "Cadastro           ",
    "Comprovante rendime", "Etiquetas disquete ", "relatório do Usuário  "_cp};
const std::array<std::string, 1> NOMCONT = {"Folha avulsa  "};
const std::array<std::string, 3> MODO1OP = {"folha Avulsa       ", "Formulário Contínuo"_cp,
                                             "Darf pré-impresso  "_cp};
const std::array<std::string, 2> MODOETI = {"Etiquetas     ", "Folha avulsa  "};
const std::array<std::string, 4> MODETID = {"8 Eti. 116x37 ", "12 Eti. 90x24 ", "2*5 Eti.70x50 ", "Pimaco 8296   "};
const std::array<std::string, 11> NOMEPAGR = {
    "Tudo na declaração "_cp, "Tudo menos Balanço "_cp, "Só IR s/Bal e Malha  "_cp, "Só IR Sem a Malha  "_cp,
    "Rendimentos        ", "Rendimentos PFisica", "Pagamentos/Isentos ", "Bens e Dívidas     "_cp,
    "Resumo c/Balanço   "_cp, "Resumo s/Balanço   "_cp, "Só a Malha fina    "_cp};
const std::array<std::string, 3> NOMEPRUR = {"Todas pag. ", "página 1   "_cp, "página 2   "_cp};
const std::array<std::string, 1> MODOUNI = {"Folha única"_cp};
const std::array<std::string, 5> NOMECON = {"Individual  ", "Vários      "_cp, "Todos       ", "todas Pastas",
                                             "Grupo selec."};

void apply_selection(Globals& g) {
  g.QUEIMP = std::clamp(g.QUEIMP, 1, 15);
  g.QUECON = std::clamp(g.QUECON, 1, 5);
  g.NRO_VIAS = std::clamp(g.NRO_VIAS, 1, 9);
  const auto k = static_cast<std::size_t>(g.QUEIMP - 1);
  g.QUEMOD = std::clamp(g.QUEMOD, 1, AQUEIT2[k]);
  g.QUEPAG = std::clamp(g.QUEPAG, 1, AQUEIT3[k]);
  std::string sheet = NOMCONT[0], pages = MODOUNI[0];
  auto at = [](int v) { return static_cast<std::size_t>(v - 1); };
  switch (g.QUEIMP) {
    case 1:
    case 2: pages = NOMEPAGR[at(g.QUEPAG)]; break;
    case 3: pages = NOMEPRUR[at(g.QUEPAG)]; break;
    case 5: sheet = MODO1OP[at(g.QUEMOD)]; break;
    case 12: sheet = MODOETI[at(g.QUEMOD)]; break;
    case 14: sheet = MODETID[at(g.QUEMOD)]; break;
    default: break;
  }
  g.ITEM1 = "1-" + ALISTIMP[k];
  g.ITEM2 = "2-" + sheet;
  g.ITEM3 = "3-" + pages;
  g.ITEM4 = "4-" + NOMECON[at(g.QUECON)];
  g.ITEM5 = "5-Seleção Impressora"_cp;
  g.ITEM6 = "6-Configura NAO DOS";
  g.ITEM7 = "7- Nro de Vias " + std::to_string(g.NRO_VIAS);
}

bool choose_selection(Globals& g, int command, int option) {
  const auto k = static_cast<std::size_t>(std::clamp(g.QUEIMP, 1, 15) - 1);
  switch (command) {
    case 41:
      if (option < 1 || option > 15) return false;
      g.QUEIMP = option;
      break;
    case 42:
      if (option < 1) return false;
      g.QUEMOD = std::min(option, AQUEIT2[k]);
      break;
    case 43:
      if (option < 1) return false;
      g.QUEPAG = std::min(option, AQUEIT3[k]);
      break;
    case 44:
      if (option < 1 || option > 5) return false;
      g.QUECON = option;
      break;
    default:
      return false;
  }
  apply_selection(g);
  return true;
}

}  // namespace tx::shell
