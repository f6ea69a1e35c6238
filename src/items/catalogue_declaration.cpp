// The lists of an open declaration: income lines, people, payments, assets
// and debts, the registers, the other declaration lists and the rural lists.
#include "base/codepage.hpp"
#include "items/catalogue_lists.hpp"
#include "items/list_payees.hpp"
#include "platform/keys.hpp"

namespace tx::items {

namespace {

constexpr const char* kMoney = "@Ez 99,999,999.99";
constexpr const char* kCpfPicture = "@R 999.999.999-99";

ColumnDef col(std::string heading, std::string field, std::string picture = kMoney,
              std::string valid = {}, int shown_width = 0) {
  ColumnDef c;
  c.heading = std::move(heading);
  c.field = std::move(field);
  c.picture = std::move(picture);
  c.valid = std::move(valid);
  c.shown_width = shown_width;
  return c;
}

ListDescriptor base(int code, std::string name, int area, screen::Rect window, int frame = 0) {
  ListDescriptor d;
  d.code = code;
  d.name = std::move(name);
  d.area = area;
  d.window = window;
  d.frame = frame;
  return d;
}

constexpr int kOwn = 2;  // own framed window

const std::string kIncomeHint = "Alt F1=Tela Aux. Alt +=Todos campos ";

// Columns 1-28 of the income lines of legal entities (list 1), for the holder
// or for a dependant's line.
std::vector<ColumnDef> income_columns(bool dependant) {
  std::string cnpj = dependant ? "CPF_CNPJ_DEP" : "CPF_CNPJ";
  std::string limit = dependant ? "LIM_65_DEP" : "LIM_65";
  return {
      col("Fonte pagadora", "I1_2", "@S40", "TOTAIS", dependant ? 30 : 21),
      col("Rendimentos", "I1_4", kMoney, "TOTAIS"),
      col("Previdência"_cp.str(), "I1_6", kMoney, "TOTAIS"),
      col("Imposto Fonte", "I1_5", kMoney, "TOTAIS"),
      col("13o salário=>"_cp.str(), "I1_7", kMoney, "TOTAIS"),
      col("Lucro Distr.", "I1_15", kMoney, "TOTAIS"),
      col("CNPJ/CPF Fonte", "I1_3", "@S18", cnpj),
      col("Sócio ME/EPP "_cp.str(), "I1_16", kMoney, "TOTAIS"),
      col("Apos.> 65", "I1_17", "@EZ 99,999.99", limit),
      col("Apos. Moléstia"_cp.str(), "I1_18", kMoney, "MOLESTIA"),
      col("75% Exter", "I1_13", kMoney, "TOTAIS"),
      col("Bonificação"_cp.str(), "I1_14", kMoney, "TOTAIS"),
      col("Exig. Suspensa", "I1_19", kMoney, "TOTAIS"),
      col("Depo.Judicial", "I1_20", kMoney, "TOTAIS"),
      col("Doação/Heran"_cp.str(), "I1_23", kMoney, "TOTAIS"),
      col("Bolsa Estudo", "I1_29", kMoney, "TOTAIS"),
      col("Bolsa Médico"_cp.str(), "I1_24", kMoney, "TOTAIS"),
      col("FIFA", "I1_25", kMoney, "TOTAIS"),
      col("Divorcio", "I1_26", kMoney, "TOTAIS"),
      col("Ação <20mil"_cp.str(), "I1_27", kMoney, "TOTAIS"),
      col("Ouro <20mil", "I1_28", kMoney, "TOTAIS"),
      col("Indenizações"_cp.str(), "I1_30", kMoney, "TOTAIS"),
      col("IR Compensado", "I1_31", kMoney, "TOTAIS"),
      col("Juros Capital", "I1_32", kMoney, "TOTAIS"),
      col("Partipação Lucros"_cp.str(), "I1_33", kMoney, "TOTAIS"),
      col("Descrição do outros"_cp.str(), "I1_35", "@S18", "TOTAIS", 18),
      col("Outros Isento", "I1_9", kMoney, "TOTAIS"),
      col("Outros Tributado", "I1_34", kMoney, "TOTAIS"),
  };
}

void income_keys(ListDescriptor& d) {
  d.caps.key_actions[key::AltF(1)] = "AUX_FONTE";
  d.caps.key_actions[key::Alt('+')] = "FORM_RENDIMENTO";
}

ListDescriptor list_income_holder(const CatalogueContext& ctx) {
  ListDescriptor d = base(1, "income_holder", working(2), {1, 0, 16, 78});
  d.filter = "I1_1 = \"J\"";
  d.hint = kIncomeHint;
  d.ult_pos = 28;
  d.columns = income_columns(false);
  if (ctx.exit_declaration) d.columns.push_back(col("Comun. Saida", "DT_LC", "@D"));
  d.defaults = {{"I1_1", std::string("J")}};
  d.defaults_cpf = true;
  income_keys(d);
  return d;
}

ListDescriptor list_income_dependants(const CatalogueContext&) {
  ListDescriptor d = base(2, "income_dependants", working(2), {1, 0, 16, 78});
  d.filter = "I1_1 = \"D\"";
  d.hint = kIncomeHint;
  d.ult_pos = 28;
  d.columns = {col("CPF Dependente", "I1_8", kCpfPicture, "CPF_DEPEN")};
  for (ColumnDef& c : income_columns(true)) d.columns.push_back(std::move(c));
  d.defaults = {{"I1_1", std::string("D")}};
  d.defaults_cpf = true;
  income_keys(d);
  return d;
}

// The matrix column kinds of the monthly individual-income details.
struct MonthlyKindRow {
  char kind;
  const char* name;
  const char* total;
};
constexpr MonthlyKindRow kMonthlyKinds[] = {
    {'F', "Nome da fonte pagadora", "Total R$ "}, {'E', "Nome fonte exterior", "Total R$  "},
    {'L', "Descrição da despesa", "Total R$ "},   {'P', "Nome da Previdência", "Total R$ "},
    {'I', "Nome do Recebedor", "Total R$  "},
};

const std::string kInssHint = "Digite só o valor do INSS. Os valores da pensão e dependentes vem da tela 4";

ListDescriptor list_monthly_details(const CatalogueContext& ctx) {
  char kind = ctx.kind ? ctx.kind : 'F';
  const MonthlyKindRow* row = &kMonthlyKinds[0];
  for (const MonthlyKindRow& r : kMonthlyKinds)
    if (r.kind == kind) row = &r;
  bool short_window = kind == 'P' || kind == 'I';
  ListDescriptor d = base(17, "monthly_details", working(2), {8, 2, short_window ? 16 : 21, 55}, kOwn);
  d.filter = std::string("I1_1 = \"") + kind + "\" .AND. I1_11 = \"" + (ctx.dependants ? "N" : "S") + "\"";
  if (ctx.dependants) d.filter += " .AND. I1_8 = \"" + ctx.dependant_cpf + "\"";
  if (kind == 'P') d.hint = from_utf8(kInssHint);
  d.start_column = 2;
  ColumnDef total = col(row->total, "I1_4", "@Ez 9999,999.99");
  total.monthly = MonthlyKind::Fields;
  total.monthly_prefix = "I1_4";
  total.monthly_on_enter = true;
  d.columns = {col(from_utf8(row->name), "I1_2", "@s40"), total};
  d.defaults = {{"I1_1", std::string(1, kind)}, {"I1_11", std::string(ctx.dependants ? "N" : "S")}};
  if (ctx.dependants) d.defaults.push_back({"I1_8", ctx.dependant_cpf});
  d.defaults_cpf = true;
  return d;
}

ListDescriptor list_cash_book_month(const CatalogueContext& ctx) {
  bool receipts = ctx.kind != 'L' && ctx.kind != 'D';
  ListDescriptor d = base(18, "cash_book_month", working(2), {5, 5, 18, 76}, kOwn);
  d.filter = receipts ? "I1_1 = \"F\" .AND. TIPOCR = \"C\"" : "I1_1 = \"L\" .AND. TIPOCR = \"D\"";
  d.columns = {
      col("Data", "DT_LC", "@D"),
      col("Descrição "_cp.str() + (receipts ? "das receitas" : "das despesas"), "I1_2", "@S44"),
      col("Valor em R$==>", "I1_4", "@Ez 9999,999.99"),
      receipts ? col("CPF", "I1_3", "@S14", "CPF_CNPJ") : col("CPF ou CNPJ", "I1_3", "@S18", "CPF_CNPJ"),
  };
  d.columns.front().when = "CAIXA_EXT";
  d.defaults = {{"I1_1", std::string(receipts ? "F" : "L")}, {"TIPOCR", std::string(receipts ? "C" : "D")}};
  d.defaults_cpf = true;
  return d;
}

ListDescriptor list_monthly_total(const CatalogueContext& ctx) {
  bool alimony = ctx.kind == 'I';
  ListDescriptor d = base(24, "monthly_total", working(2), {8, 40, 14, 55}, kOwn);
  d.filter = alimony ? "I1_1 = \"I\"" : "I1_1 = \"P\"";
  if (!alimony) d.hint = from_utf8(kInssHint);
  ColumnDef total = col(alimony ? "Total Leao" : "Total INSS", "I1_4", "@Ez 999,999,999.99");
  total.monthly = MonthlyKind::Fields;
  total.monthly_prefix = "I1_4";
  total.monthly_on_enter = true;
  d.columns = {total};
  return d;
}

ListDescriptor list_accumulated(const CatalogueContext& ctx) {
  ListDescriptor d = base(20, ctx.dependants ? "accumulated_dependants" : "accumulated_holder", working(2),
                          {1, 0, 16, 78});
  d.filter = ctx.dependants ? "I1_1 = \"A\" .AND. I1_11 = \"N\"" : "I1_1 = \"A\" .AND. I1_11 = \"S\"";
  d.hint = kIncomeHint;
  if (ctx.dependants) d.columns.push_back(col("CPF Dependente", "I1_8", kCpfPicture, "CPF_DEPEN"));
  d.columns.push_back(col("Fonte pagadora", "I1_2", "@S40", "TOTAIS", 32));
  d.columns.push_back(col("Rendimentos", "I1_4", kMoney, "CALC_RAA"));
  d.columns.push_back(col(ctx.dependants ? "Previdência =>"_cp.str() : "Previdência"_cp.str(), "I1_6", kMoney,
                          "CALC_RAA"));
  d.columns.push_back(col(ctx.dependants ? "Imposto Fonte" : "Imposto Fonte =>", "I1_5", kMoney, "TOTAIS"));
  d.columns.push_back(col("CNPJ/CPF Fonte", "I1_3", "@S18", "CPF_CNPJ"));
  d.columns.push_back(col("Pensao Jud.", "I1_12", kMoney, "CALC_RAA"));
  d.columns.push_back(col("CPF Aliment.", "I1_22", kCpfPicture, "CPF_ALIMENT"));
  d.columns.push_back(col("Mes ", "I1_36", "99", "MES_RAA"));
  d.columns.push_back(col("AA/EF", "TIPOCR", "@!", "VERAA"));
  d.columns.push_back(col("Qtd. meses", "I1_21", "@z999.9", "CALC_RAA_MESES"));
  d.columns.push_back(col("IR Devido", "I1_20", kMoney, "IR_CALCULADO"));
  d.ult_pos = static_cast<int>(d.columns.size());
  d.defaults = {{"I1_1", std::string("A")}, {"I1_11", std::string(ctx.dependants ? "N" : "S")}};
  d.defaults_cpf = true;
  d.caps.key_actions[key::Alt('+')] = "FORM_RAA";
  return d;
}

ListDescriptor list_payments(const CatalogueContext&) {
  ListDescriptor d = base(4, "payments", working(6), {3, 0, 23, 79}, kOwn);
  d.hint = "Alt F4=Tela Aux. Crtl Enter= Envia p/ Tela Aux. Alt U Valores mensais";
  d.ult_pos = 8;
  ColumnDef code = col("Cod", "I6_3", "@ 99", "TES_COD");
  code.when = "TEM_ALIMENT";
  ColumnDef number = col("Nro", "I6_6", "@99", "CONF_DEP");
  number.when = "CONF_DEP";
  ColumnDef paid = col("Total Pago", "I6_4", "@Ez 9999,999.99", "LIM_PAGTO");
  paid.monthly = MonthlyKind::Fields;
  paid.monthly_prefix = "I6_4";
  d.columns = {
      col("Nome do beneficiário"_cp.str(), "I6_1", "@S50", {}, 26),
      code,
      number,
      col(" CPF/CNPJ/NIT", "I6_2", "@S18", "CPF_NIT"),
      paid,
      col("N.Dedutível"_cp.str(), "I6_5", "@Ez 9999,999.99", "NAO_DEDUT"),
      col("CPF Empregado", "I6_7", kCpfPicture, "CPF"),
  };
  d.defaults_cpf = true;
  d.caps.send = payees_send();
  d.caps.open_register = payees_open();
  return d;
}

std::string asset_code_check(const CatalogueContext& ctx) { return ctx.final_estate ? "VEJA_IMOV" : "TES_COD"; }

const std::string kAssetsHint = "Alt F5=Tela Aux. Ctrl Enter=Envia p/Tela Aux. ALT F6=Aux Rend. Alt O=Organiza ";
const std::string kDebtsHint = "INS=Inclui DEL=Elimina TAB=Fim pag Alt Z ou X=Zoom";
const std::string kZoomHint = "INS=Inclui DEL=Elimina TAB=Volta Alt L=n linhas ";

void asset_register(ListDescriptor& d, const std::string& description) {
  d.caps.send = RegisterSend{kAssetDescTable, "DESCRICAO", {{description, "DESCRICAO"}}};
  d.caps.open_register = RegisterOpen{key::AltF(5), "asset_descriptions"};
}

ListDescriptor assets_upper(int code, std::string name, screen::Rect window, const CatalogueContext& ctx) {
  YearCaptions y = year_captions(ctx);
  ListDescriptor d = base(code, std::move(name), working(4), window);
  d.hint = kAssetsHint;
  d.ult_pos = 5;
  ColumnDef item = col("Item", "I7_1", "@Ez 999");
  item.item_number = true;
  ColumnDef line = col("Linha", "I7_0", "@Z 9999");
  line.line_number = true;
  line.sort_key = "I7_0";
  d.columns = {
      item,
      col("Discriminação, data aquisição ou venda "_cp.str(), "I7_2", "@S73", "DESC_POPUP", 39),
      col(y.first, "I7_3", "@ez   999,999,999.99", "TOT_BENS"),
      col(y.assets_second, "I7_4", "@ez  999,999,999.99", "TOT_BENS"),
      col("Cod", "I7_5", "@EZ 99", asset_code_check(ctx)),
      col("Ext.", "I7_7", "@!", "TES_PAIS"),
      col("País"_cp.str(), "I7_8", "@s3", "TES_PAIS"),
      line,
      col("2012 Original", "I7_9", "@Ez 999,999,999.99"),
  };
  d.defaults_cpf = true;
  d.recno_line_field = "I7_0";
  d.caps.renumber = true;
  d.caps.refresh_all_after_edit = true;
  asset_register(d, "I7_2");
  return d;
}

ListDescriptor debts_lower(int code, std::string name, screen::Rect window, const CatalogueContext& ctx) {
  YearCaptions y = year_captions(ctx);
  ListDescriptor d = base(code, std::move(name), working(5), window);
  d.hint = kDebtsHint;
  d.ult_pos = 5;
  ColumnDef item = col("Item", "I8_1", "@Ez 999");
  item.item_number = true;
  ColumnDef line = col("Linha", "I8_0", "@Z 9999");
  line.line_number = true;
  std::string heading = " Discriminação"_cp.str();
  heading.resize(39, ' ');
  d.columns = {
      item,
      col(heading, "I8_2", "@S73", "DESC_POPUP", 39),
      col(y.first, "I8_3", "@ez   999,999,999.99", "TOT_DIVIDAS"),
      col(y.debts_second, "I8_4", "@ez   999,999,999.99", "TOT_DIVIDAS"),
      col("Cod.", "I8_5", "@Z 99", "TES_COD"),
      line,
      col("2012 original", "I8_6", "@Ez 999,999,999.99"),
  };
  d.defaults_cpf = true;
  d.recno_line_field = "I8_0";
  d.caps.renumber = true;
  asset_register(d, "I8_2");
  return d;
}

ListDescriptor zoomed_assets(const CatalogueContext& ctx) {
  YearCaptions y = year_captions(ctx);
  ListDescriptor d = base(8, "assets_zoom", working(4), {1, 0, 24, 79});
  d.hint = kZoomHint;
  d.ult_pos = 1;
  ColumnDef line = col("Linha", "I7_0", "@Z 9999");
  line.line_number = true;
  d.columns = {
      col("Discriminação, data da aquis. e venda "_cp.str(), "I7_2", "@S73", "DESC_POPUP"),
      col("Item", "I7_1", "@z 999"),
      col("Cod", "I7_5", "@ez 99", asset_code_check(ctx)),
      col(y.first, "I7_3", "@Ez 999,999,999.99", "TOT_BENS"),
      col(y.assets_second, "I7_4", "@Ez 999,999,999.99", "TOT_BENS"),
      col("Ext.", "I7_7", "@!", "TES_PAIS"),
      col("País"_cp.str(), "I7_8", "@S3", "TES_PAIS"),
      line,
      col("2012 Original", "I7_9", kMoney),
  };
  d.defaults_cpf = true;
  d.recno_line_field = "I7_0";
  d.caps.insert = InsertStyle::After;
  d.caps.insert_lines = true;
  d.caps.row_clipboard = true;
  d.columns[0].row_text = true;
  d.columns[0].paste_target = true;
  asset_register(d, "I7_2");
  return d;
}

ListDescriptor zoomed_debts(const CatalogueContext& ctx) {
  YearCaptions y = year_captions(ctx);
  ListDescriptor d = base(9, "debts_zoom", working(5), {1, 0, 24, 79});
  d.hint = kZoomHint;
  d.ult_pos = 1;
  ColumnDef line = col("Linha", "I8_0", "@Z 9999");
  line.line_number = true;
  d.columns = {
      col("Discriminação"_cp.str(), "I8_2", "@S73", "DESC_POPUP"),
      col("Item", "I8_1", "@z 999"),
      col("Cod.", "I8_5", "@ez 99", "TES_COD"),
      col(y.first, "I8_3", kMoney, "TOT_DIVIDAS"),
      col(y.debts_second, "I8_4", kMoney, "TOT_DIVIDAS"),
      line,
      col("2012 Original", "I8_6", kMoney),
  };
  d.defaults_cpf = true;
  d.recno_line_field = "I8_0";
  d.caps.insert = InsertStyle::After;
  d.caps.insert_lines = true;
  d.caps.row_clipboard = true;
  d.columns[0].row_text = true;
  d.columns[0].paste_target = true;
  asset_register(d, "I8_2");
  return d;
}

const std::string kRegisterHint = "Anote dados repetitivos - Crtl Enter - Transfere os dados";

ListDescriptor asset_descriptions(const CatalogueContext&) {
  ListDescriptor d = base(31, "asset_descriptions", kAssetDescTable, {3, 4, 14, 66}, kOwn);
  d.hint = kRegisterHint;
  d.columns = {
      col("Descrição"_cp.str(), "DESCRICAO", "@S55"),
      col("Cod.", "CODIGO", "@Z 999"),
  };
  d.caps.take = RegisterTake{{{"DESCRICAO", "I7_2"}, {"CODIGO", "I7_5"}}, ""};
  return d;
}

ListDescriptor payers(const CatalogueContext&) {
  ListDescriptor d = base(46, "payers", kPayersTable, {3, 2, 14, 77}, kOwn);
  d.hint = kRegisterHint;
  d.columns = {
      col("Nome da fonte pagadora", "NOME", "@S50"),
      col("CPF/CNPJ", "CGCCPF", "@S18", "CPF_CNPJ"),
  };
  d.caps.take = RegisterTake{{{"NOME", "I1_2"}, {"CGCCPF", "I1_3"}}, ""};
  return d;
}

ListDescriptor notes(const CatalogueContext& ctx) {
  ListDescriptor d = base(11, "notes", working(11), {1, 6, 16, 70}, kOwn);
  if (ctx.notes_from == 1) {
    d.window = {7, 9, 22, 70};
    d.frame = 0;
  } else if (ctx.notes_from == 2) {
    d.window = {2, 6, 16, 70};
  }
  d.hint = "Anote informações. INS=Inclui ALT L inclui n linhas. Ctrl Enter vai p/ erro."_cp.str();
  d.columns = {col("           Notas e observações"_cp.str(), "OBSERV", "@s60")};
  d.defaults_cpf = true;
  d.caps.insert = InsertStyle::After;
  d.caps.insert_lines = true;
  return d;
}

ListDescriptor savings(const CatalogueContext&) {
  ListDescriptor d = base(13, "savings", working(14), {1, 3, 10, 75}, kOwn);
  ColumnDef source = col("Fonte do Rendimento", "DESCRICAO", "@S26");
  source.footing = "Totais";
  d.columns = {
      source,
      col("Poupança"_cp.str(), "POUPANCA", "@Ez 999,999,999.99"),
      col("Aplicações"_cp.str(), "APLICACAO", "@Ez 999,999,999.99"),
      col("Prejuizo", "PREJU", "@Ez 999,999,999.99"),
  };
  d.defaults_cpf = true;
  return d;
}

ListDescriptor maintenance(const CatalogueContext&) {
  ListDescriptor d = base(15, "maintenance_expenses", working(10), {8, 10, 19, 73});
  ColumnDef monthly = col("V.Mensal ", "VALODESP", "@EZ 999,999.99");
  monthly.monthly = MonthlyKind::Empty;
  d.columns = {
      col("Descricao bem", "DESCRITEM", "@s25"),
      col("Tipo", "DESCDESP", "@S25"),
      monthly,
  };
  d.defaults_cpf = true;
  return d;
}

ListDescriptor heirs_shares(const CatalogueContext&) {
  ListDescriptor d = base(21, "heirs_shares", working(20), {5, 9, 19, 60}, kOwn);
  d.frozen = 1;
  d.columns = {
      col("Nome Completo", "NOMEDEPEN", "@S41"),
      col("Perct.", "PERCENT", "@Z999.99"),
  };
  d.caps.append = false;
  return d;
}

ListDescriptor cash_book_entries(const CatalogueContext&) {
  ListDescriptor d = base(25, "cash_book_entries", working(13), {2, 3, 20, 75}, kOwn);
  d.columns = {
      col("Cod.", "CDCONTA", "@R 9.999"),
      col("Descrição"_cp.str(), "DESCONTA", "@S40", {}, 40),
      col("Valor ", "VALODESP", kMoney),
      col("Mês I"_cp.str(), "MESINI", "@Z 99"),
      col("Mês F"_cp.str(), "MESFIM", "@z 99"),
      col("CPF ou CPNJ", "NROCGCCPF", "@s18"),
      col("CPF depend", "CPFDEPEN", kCpfPicture),
      col("Lan.", "LANCADO", "@!"),
  };
  d.defaults_cpf = true;
  return d;
}

ListDescriptor rural_properties(const CatalogueContext& ctx) {
  ListDescriptor d = base(34, "rural_properties", working(16), {3, 0, ctx.abroad ? 19 : 22, 78});
  d.filter = ctx.abroad ? "ATV_BRASIL = \"E\"" : "ATV_BRASIL = \"B\"";
  d.hint = "<Esc> Tela inicial <Tab> Faturamento ";
  d.columns = {
      col("Cod", "I2R_07", "@z 99", "VAL_COD"),
      col("% Part", "I2R_04", "@Z 999.99", "VAL_PART"),
      col("Cond", "I2R_05", "@z 9", "VAL_COD"),
      col("Nome do Imóvel"_cp.str(), "I2R_01", "@s54", {}, 18),
      col("Local do Imóvel"_cp.str(), "I2R_06", "@S35", {}, 18),
      col("Area (ha)", "I2R_02", "@ez 999,999.9"),
  };
  if (!ctx.abroad) {
    d.columns.push_back(col("Nro.R.Fed", "I2R_03", "@r 9999999.9"));
    d.columns.push_back(col("Valor ITR", "VALITR", "@Ez 999,999,999.99"));
    d.ult_pos = 8;
  } else {
    d.columns.push_back(col("País"_cp.str(), "CODPAIS", "@s3", "TES_PAIS"));
    d.columns.push_back(col("Rec.moeda País"_cp.str(), "RECEXT", "@Ez 999,999,999.99", "CALUCRO"));
    d.columns.push_back(col("Des.moeda País"_cp.str(), "DESEXT", "@Ez 999,999,999.99", "CALUCRO"));
    d.columns.push_back(col("Valor US$", "VALUSE", "@EZ 99,999.99", "CALUCRO"));
    d.columns.push_back(col("Resultado US$", "RESUS", "@Ez 999,999,999.99", "CALCULADO"));
    d.columns.push_back(col("Opc.20% em US$", "OPC20US", "@Ez 999,999,999.99", "CALCULADO"));
    d.columns.push_back(col("Opc.20% em R$ ", "OPC20RS", "@Ez 999,999,999.99", "CALCULADO"));
    d.ult_pos = 13;
  }
  d.defaults = {{"ATV_BRASIL", std::string(ctx.abroad ? "E" : "B")}};
  d.defaults_cpf = true;
  return d;
}

ListDescriptor rural_assets(const CatalogueContext& ctx) {
  ListDescriptor d = base(35, "rural_assets", working(17), {2, 1, 21, 79});
  d.filter = ctx.abroad ? "ATV_BRASIL = \"E\"" : "ATV_BRASIL = \"B\"";
  d.hint = "<Esc> Tela inicial <TAB>Dívidas |Alt F5=Tela auxiliar"_cp.str();
  d.ult_pos = 5;
  ColumnDef line = col("Linha", "I8R_0", "@EZ 9999");
  line.line_number = true;
  d.columns = {
      col("It.", "ITEM", "@EZ 999"),
      col("Discriminação, Data de Aquisição e Venda   "_cp.str(), "I8R_1", "@S71", "DESC_POPUP", 53),
      col("Cd", "CODIGO", "@EZ 99", "TES_COD"),
      col("Valor R$  ", "I8R_2", "@Ez 99,999,999.99"),
      ctx.abroad ? col("Pais", "I8R_3", "@S3", "TES_PAIS") : col("St", "I8R_4", "@Z 9", "TES_SIT"),
      line,
  };
  d.defaults = {{"ATV_BRASIL", std::string(ctx.abroad ? "E" : "B")}};
  d.defaults_cpf = true;
  d.recno_line_field = "I8R_0";
  asset_register(d, "I8R_1");
  return d;
}

ListDescriptor rural_debts(const CatalogueContext& ctx) {
  YearCaptions y = year_captions(ctx);
  ListDescriptor d = base(36, "rural_debts", working(18), {2, 0, 20, 78});
  d.filter = ctx.abroad ? "ATV_BRASIL = \"E\"" : "ATV_BRASIL = \"B\"";
  d.hint = "<Esc> Tela inicial <TAB>Local <SHIFT+TAB>Bens Alt F5=Tela Auxiliar";
  d.ult_pos = 4;
  ColumnDef line = col("Lin", "I9R_0", "@Z 9999");
  line.line_number = true;
  d.columns = {
      col("It.", "ITEM", "@EZ 99"),
      col("DISCRIMINACAO              ", "I9R_1", "@S71", "DESC_POPUP", 42),
      col(y.first, "I9R_2", "@Ez 999,999,999.99", "TOT_DIV_RURAL"),
      col(y.assets_second, "I9R_3", "@Ez 999,999,999.99", "TOT_DIV_RURAL"),
      line,
  };
  d.defaults = {{"ATV_BRASIL", std::string(ctx.abroad ? "E" : "B")}};
  d.defaults_cpf = true;
  d.recno_line_field = "I9R_0";
  asset_register(d, "I9R_1");
  return d;
}

ListDescriptor rural_cash_book(const CatalogueContext& ctx) {
  bool expenses = ctx.kind == 'D';
  ListDescriptor d = base(38, "rural_cash_book", working(19), {5, 1, 18, 79}, kOwn);
  d.filter = expenses ? "TIPOCR = \"D\"" : "TIPOCR = \"C\"";
  d.hint = "Alt F2=Tela Auxiliar Alt O=Ordena Alt+ mais ordem (ALT 2 inicio ALT 3 fim do SubTotal)";
  ColumnDef date = col("Data", "DT_LC", "@D");
  date.sort_key = "DTOS(DT_LC)";
  d.columns = {
      date,
      col("Descrição "_cp.str() + (expenses ? "da Despesa ou Custeio" : "do Rendimento"), "DESCR", "@S44"),
      col("Valor ", "VALOR", "@Ez 999,999,999.99"),
      col(expenses ? "N.Imo" : "Nro.Imov", "NROIMO", "@Z 99"),
  };
  if (expenses) d.columns.push_back(col("ITR", "TEMITR", "@!"));
  d.ult_pos = expenses ? 5 : 4;
  d.defaults = {{"TIPOCR", std::string(expenses ? "D" : "C")},
                {"ATV_BRASIL", std::string(ctx.abroad ? "E" : "B")}};
  d.defaults_cpf = true;
  return d;
}

}  // namespace

YearCaptions year_captions(const CatalogueContext& ctx) {
  if (ctx.final_estate) return {" Data Partilha", " Val. Transf. ", " Data Partilha"};
  if (ctx.exit_declaration) return {"Em 31/12/2012", "Dt.Não Resid."_cp.str(), "Dt.Não Resid."_cp.str()};
  return {"Em 31/12/2012", "Em 31/12/2013", "Em 31/12/2013"};
}

ListDescriptor people_list(int subscreen, const CatalogueContext& ctx) {
  ListDescriptor d;
  d.code = 3;
  d.area = working(3);
  d.frame = kOwn;
  d.hint = "Tab=Pagamentos efetuados";
  d.defaults_cpf = true;
  if (subscreen == 45) {
    d.name = "heirs";
    d.filter = "CODIDEPEN > 99";
    d.window = {5, 9, 20, 70};
    d.columns = {
        col("Nome Completo do Herdeiro", "NOMEDEPEN", "@S41"),
        col("CPF/CNPJ", "CPFHERDE", "@s18", "CPF_CNPJ"),
    };
    d.ult_pos = 2;
    return d;
  }
  bool alimony = subscreen == 42;
  d.name = alimony ? "alimony_receivers" : "dependants";
  d.filter = alimony ? "CODIDEPEN >= 98 .AND. CODIDEPEN <= 99" : "CODIDEPEN < 98";
  d.window = {5, 0, 20, 79};
  d.frozen = 1;
  ColumnDef number = col(alimony ? "Nro" : "N.", "NRODEPEN", "@ez 99");
  number.item_number = true;
  d.columns = {
      number,
      col(alimony ? "Nome Completo do Alimentando" : "Nome Completo do Dependente", "NOMEDEPEN",
          alimony ? "@S41" : "@S43"),
      col("Cód"_cp.str(), "CODIDEPEN", "@EZ 99", "TES_COD"),
      col("Nascim.", "DATADEPEN", "@d", "TES_MES"),
      col("CPF", "CPFDEPEN", kCpfPicture, "CPF"),
  };
  d.ult_pos = 5;
  if (ctx.exit_declaration && !alimony) {
    d.columns.push_back(col("Sai", "SAIUJUNT", "@!"));
    d.ult_pos = 6;
  }
  return d;
}

ListDescriptor declaration_list(int code, const CatalogueContext& ctx) {
  switch (code) {
    case 1: return list_income_holder(ctx);
    case 2: return list_income_dependants(ctx);
    case 3: return people_list(41, ctx);
    case 4: return list_payments(ctx);
    case 5: return assets_upper(5, "assets", {1, 0, 12, 79}, ctx);
    case 6: return debts_lower(6, "debts", {13, 0, 21, 79}, ctx);
    case 8: return zoomed_assets(ctx);
    case 9: return zoomed_debts(ctx);
    case 11: return notes(ctx);
    case 13: return savings(ctx);
    case 15: return maintenance(ctx);
    case 17: return list_monthly_details(ctx);
    case 18: return list_cash_book_month(ctx);
    case 20: return list_accumulated(ctx);
    case 21: return heirs_shares(ctx);
    case 22: return assets_upper(22, "assets_full", {1, 0, 21, 79}, ctx);
    case 23: {
      ListDescriptor d = debts_lower(23, "debts_full", {1, 0, 21, 79}, ctx);
      return d;
    }
    case 24: return list_monthly_total(ctx);
    case 25: return cash_book_entries(ctx);
    case 30: return payees_list(ctx.rural);
    case 31: return asset_descriptions(ctx);
    case 34: return rural_properties(ctx);
    case 35: return rural_assets(ctx);
    case 36: return rural_debts(ctx);
    case 38: return rural_cash_book(ctx);
    case 46: return payers(ctx);
    default: return {};
  }
}

}  // namespace tx::items
