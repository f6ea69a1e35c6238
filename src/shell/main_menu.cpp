#include "shell/main_menu.hpp"

#include "base/codepage.hpp"
#include "base/xbase.hpp"

namespace tx::shell {

namespace {
using E = MenuEntry;
E title(std::string t, std::string hint = "") { return {E::Title, std::move(t), 0, 0, std::move(hint), true, ""}; }
E sub(std::string t, std::string hint = "") { return {E::Submenu, std::move(t), 0, 0, std::move(hint), true, ""}; }
E end() { return {E::End, "", 0, 0, "", true, ""}; }
E item(std::string t, int c, int o = 0, std::string hint = "") {
  return {E::Item, std::move(t), c, o, std::move(hint), true, ""};
}
E heading(std::string t) { return {E::Heading, std::move(t), 0, 0, "", false, ""}; }
E sep() { return {E::Separator, "", 0, 0, "", true, ""}; }
}  // namespace

const std::vector<MenuEntry>& main_menu_entries() {
  static const std::vector<MenuEntry> entries = {
      title("&Declaração"_cp, "Declarações dos contribuintes da pasta atual"_cp),
      item("&Declaração (Alt I)"_cp, 11, 0, "Escolhe o contribuinte e abre a declaração"_cp),
      item("&Lancamentos", 12, 0, "Declaração no modo livro caixa"_cp),
      item("&Conferência"_cp, 13, 0, "Conferência da declaração"_cp),
      item("&Agenda", 14, 0, "Agenda de compromissos"),
      item("&Pastas", 15, 0, "Pastas de dados deste terminal"),
      sub("&Exclusão"_cp, "Exclusão de declarações"_cp),
      item("Exclui &IR e AAR", 16, 1), item("Exclui somente o &AAR", 16, 2),
      item("&Recupera declaração Excluida recentemente"_cp, 16, 3),
      end(),
      item("&Importação"_cp, 17, 0, "Importa declarações de outros programas"_cp),
      sep(),
      item("&Terminar (Alt T)", 18, 0, "Sai do programa"),
      end(),

      title("&Opções"_cp, "Configurações do terminal e do escritório"_cp),
      item("&Local de trabalho", 21), item("&Transfere declaração"_cp, 22),
      sub("&Senha"), item("{SENHA} a senha na entrada", 23, 1), item("Altera a senha atual", 23, 2), end(),
      sub("&Mudar as cores"),
      item(" &Texto              ", 24, 1), item(" &Contorno das telas ", 24, 2), item(" &Item Escolhido     ", 24, 3),
      item(" &Entr. de dados     ", 24, 4), item(" &Mensagens          ", 24, 5), item(" &Help e Avisos      ", 24, 6),
      item(" &Fundo Geral        ", 24, 7),
      end(),
      item("&Valores a Cobrar", 25),
      sub("&Gravar os dados"),
      item("&Automático a cada {TEMP_SAL} minutos"_cp, 26, 1), item("&Manual usando Alt W", 26, 2),
      item("&Somente no final ", 26, 3),
      end(),
      sub("status da &Declaração"_cp),
      item(" Alterar situação "_cp, 27, 1), item(" Cadastrar status ", 27, 2), item(" Trava alteração  "_cp, 27, 3),
      end(),
      item("cadastro &SELIC", 28), item("&Reindexar Dados", 29), item("Mudar C&PF", 30),
      sub("copia &Parte declaração"_cp),
      item(" Toda a declaração  "_cp, 31, 1), item(" Declaração de Bens "_cp, 31, 2), item(" Livro Caixa        ", 31, 3),
      item(" Rendime. P.Jurídica "_cp, 31, 4), item(" Pagamentos         ", 31, 5), item(" Ganho de capital   ", 31, 6),
      sep(),
      item(" Atividade Rural    ", 31, 7), item(" Bens/dividas AAR   ", 31, 8), item(" livro Caixa rural  ", 31, 9),
      item(" Imóveis Rurais     "_cp, 31, 10),
      end(),
      sub("e&Xporta Arquivo"),
      item(" declaração Bens  "_cp, 32, 1), item(" declaração Dívidas "_cp, 32, 2), item(" Pagamentos       ", 32, 3),
      item(" Cadastro         ", 32, 4),
      sep(),
      item(" Bens Rurais      ", 32, 5), item(" díVidas Rurais   "_cp, 32, 6), item(" Imóveis Rurais   "_cp, 32, 7),
      end(),
      sub("&Boletos"),
      item("Configura emitente", 33, 1),
      sub("Prepara os Boletos "),
      item("Cria boleto individual", 33, 2), item("Cria vários boletos   "_cp, 33, 3), item("Edita os Boletos   ", 33, 4),
      end(),
      item("Gera o Arquivo    ", 33, 5),
      end(),
      sub("&E-mail"), item("Configura Email ", 34, 1), item("Prepara o Email", 34, 2), item("Envia o Email", 34, 3), end(),
      item("&Janela na declaração"_cp, 36), item("&Ver Atualização"_cp, 35),
      end(),

      title("&Selecão"_cp, "O que, como e para quem imprimir"),
      sub("&1- O que imprimir"),
      item("IRenda modo Receita", 41, 1), item("IRenda modo  ZEFO  ", 41, 2), item("Atividade Rural    ", 41, 3),
      item("Livro caixa Rural  ", 41, 4), item("Darfes             ", 41, 5), item("Ganho de capital   ", 41, 6),
      item("Renda variável     "_cp, 41, 7), item("carta Personalizada", 41, 8), item("Anotações especiais"_cp, 41, 9),
      item("Livro caixa Normal ", 41, 10), item("Valores a cobrar   ", 41, 11), item("Cadastro           ", 41, 12),
      item("Comprovante rendime", 41, 13), item("Etiquetas para CD  ", 41, 14), item("relatório Usuário  "_cp, 41, 15),
      end(),
      sub("&2 - Tipo de Folha"),
      heading("Impressão do Imposto /Outros"_cp), item("    na Folha avulsa  ", 42, 1),
      sep(),
      heading("Impressão do Darf "_cp), item("    na Folha Avulsa       ", 42, 1), item("    no Formulário Continuo"_cp, 42, 2),
      item("    no Papel pre-impresso ", 42, 3),
      sep(),
      heading("Impressão do cadastro "_cp), item("    Em Etiquetas     ", 42, 1), item("    Na Folha avulsa  ", 42, 2),
      sep(),
      heading("Impressão das Etiquetas do CD"_cp), item("    8 Eti. 116x37 ", 42, 1), item("    12 Eti. 90x24 ", 42, 2),
      item("    2*5 Eti.70x50 ", 42, 3), item("    Pimaco 8296   ", 42, 4),
      end(),
      sub("&3 - Qual pagina"),
      heading("Escolha para o IR  "),
      item("   Tudo na declaração "_cp, 43, 1), item("   Tudo menos Balanço "_cp, 43, 2),
      item("   Só IR s/Bal e Malha"_cp, 43, 3), item("   Só IR Sem a Malha  "_cp, 43, 4),
      item("   Rendimentos        ", 43, 5), item("   Rendimentos PFisica", 43, 6),
      item("   Pagamentos/Isentos ", 43, 7), item("   Bens e Dívidas     "_cp, 43, 8),
      item("   Resumo c/Balanço   "_cp, 43, 9), item("   Resumo s/Balanço   "_cp, 43, 10),
      item("   Só a Malha fina    "_cp, 43, 11),
      sep(),
      heading("Escolha para o AAR  "), item("   Todas páginas "_cp, 43, 1), item("   só a página 1 "_cp, 43, 2),
      item("   só a página 2 "_cp, 43, 3),
      sep(),
      heading("Outros Itens  "), item("   Folha única"_cp, 43, 1),
      end(),
      sub("&4 - Quem imprimir"),
      item("Individual       ", 44, 1), item("Vários           "_cp, 44, 2), item("Todos            ", 44, 3),
      item("todas Pastas     ", 44, 4), item("Grupo selecionado", 44, 5),
      end(),
      sub("&5 - Qual Impressora"),
      item("{NOMEIMP}", 45, 1), {E::Item, "Porta de saida ", 45, 2, "", true, "porta"},
      end(),
      item("{ITEM6}", 46, 1), item("{ITEM7}", 47, 1), item("Mostra a Selecao", 48, 1),
      end(),

      title("&Impressão"_cp, "Impressão dos itens selecionados"_cp),
      item("Imprime os itens selecionados", 51), item("Mostra a Selecao", 48, 1),
      sep(),
      item("Imprime a última impressão NAO-DOS"_cp, 52), item("Edita Cartas", 53),
      end(),

      title("&Envia p/ Receita", "Envio das declarações ao programa oficial"_cp),
      item("Somente um contribuinte selecionado", 61), item("Todos Cpfs selecionados ", 62),
      item("Todos os CPFs da pasta atual", 63),
      sep(),
      sub("Envia ao terminar só a declaracão com status escolhido"_cp),
      item("SIM - Envia para a receita só com o status indicado"_cp, 64, 1),
      item("NÃO - Não envia ao terminar com o status indicado"_cp, 64, 2),
      end(),
      sub("Automático no fim da declaracao "_cp),
      item("SIM - Envia para a receita ao terminar a declaracão"_cp, 65, 1),
      item("NÃO - Não envia ao terminar uma declaração"_cp, 65, 2),
      end(),
      item("Muda ou não Status ao enviar"_cp, 66),
      sep(),
      item("Local do programa da Receita", 67), item("Recupera Declaração do IRPF "_cp, 68),
      end(),

      title("&Backup", "Cópias de segurança"_cp),
      item("Fazer a cópia    "_cp, 71), item("Compacta todos no {XDRIVE}:", 73), item("Compacta uma Pasta", 75),
      sep(),
      item("Recuperar a cópia"_cp, 72), item("Descompacta todos do {XDRIVE}:", 74), item("Descompacta uma Pasta", 76),
      sep(),
      item("Informa o Compactador", 77), item("Informa o processador", 78),
      end(),

      item("&Fim", 91, 0, "Sai do programa"),
  };
  return entries;
}

std::string menu_text(const std::string& text, const Globals& g) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      auto close = text.find('}', i);
      if (close != std::string::npos) {
        std::string name = text.substr(i + 1, close - i - 1);
        if (name == "SENHA") out += g.QUERSEN ? "Retira" : "Coloca";
        else if (name == "TEMP_SAL") out += STR(Decimal(g.TEMP_SAL), 2);
        else if (name == "XDRIVE") out += g.XDRIVE;
        else if (name == "NOMEIMP") out += g.NOMEIMP.empty() ? std::string("Impressora") : g.NOMEIMP;
        else if (name == "ITEM6") out += g.ITEM6;
        else if (name == "ITEM7") out += g.ITEM7;
        else out += text.substr(i, close - i + 1);
        i = close;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::map<int, std::pair<int, int>> build_main_menu(screen::Menu& menu, const Globals& g,
                                                   const std::function<void(int, int)>& run) {
  std::map<int, std::pair<int, int>> codes;
  const bool dos_printer = ALLTRIM(g.NOMEIMP) == "NAO DOS";
  for (const auto& e : main_menu_entries()) {
    if (e.when == "porta" && dos_printer) continue;
    std::string text = menu_text(e.text, g);
    switch (e.kind) {
      case E::Title:
      case E::Submenu: {
        auto& m = menu.subMenu(text, e.hint);
        codes[m.nSequence] = {0, 0};
        break;
      }
      case E::End: menu.endMenu(); break;
      case E::Separator: menu.separator(); break;
      case E::Heading: {
        auto& m = menu.menuItem(text, [](screen::MenuItem&, screen::Dialog&) {}, false, e.hint);
        codes[m.nSequence] = {0, 0};
        break;
      }
      case E::Item: {
        const int c = e.command, o = e.option;
        auto& m = menu.menuItem(text, [run, c, o](screen::MenuItem&, screen::Dialog&) { run(c, o); }, e.enabled,
                                e.hint);
        codes[m.nSequence] = {c, o};
        break;
      }
    }
  }
  menu.create();
  return codes;
}

}  // namespace tx::shell
