// The office lists: they run with or without an open declaration, on the
// office tables and the taxpayer register.
#include "base/codepage.hpp"
#include "items/catalogue_lists.hpp"
#include "items/list_folders.hpp"
#include "platform/keys.hpp"

namespace tx::items {

namespace {

constexpr const char* kCpfPicture = "@R 999.999.999-99";
constexpr int kOwn = 2;

ColumnDef col(std::string heading, std::string field, std::string picture, int shown_width = 0) {
  ColumnDef c;
  c.heading = std::move(heading);
  c.field = std::move(field);
  c.picture = std::move(picture);
  c.shown_width = shown_width;
  return c;
}

ColumnDef status_column(std::string heading, std::string picture) {
  ColumnDef c;
  c.heading = std::move(heading);
  c.expression = "DESC_STATUS";
  c.picture = std::move(picture);
  return c;
}

ListDescriptor base(int code, std::string name, int area, screen::Rect window, int frame = kOwn,
                    std::string title = {}) {
  ListDescriptor d;
  d.code = code;
  d.name = std::move(name);
  d.area = area;
  d.window = window;
  d.frame = frame;
  d.title = std::move(title);
  return d;
}

const std::string kSelectHint =
    "[F1 Ordem Nome] [F2 Ordem CPF] [Marque com S nos nomes] [Esc termina] [Alt+ Marca todos] [ALT- Desmarca]";

ListDescriptor corrected_quotas() {
  ListDescriptor d = base(26, "corrected_quotas", kCorrectedTable, {2, 1, 20, 79});
  d.columns = {
      col(" CPF ", "CPF", kCpfPicture),
      col(" Nome do Contribuinte ", "NOMECONTR", "@S23", 23),
      col("Quota", "QTD_QUOTA", "@ez 9"),
      col("Imposto", "IMPOSTO", "@EZ 999,999.99"),
      col("Restitucao", "RESTITU", "@EZ 999,999.99"),
      col("Corrigido", "CORRIGI", "@EZ 999,999.99"),
  };
  return d;
}

ListDescriptor status_codes() {
  ListDescriptor d = base(29, "status_codes", kStatusTable, {5, 2, 17, 22}, 0, "Status");
  d.columns = {col("Cod", "COD", "@z 99"), col("Descrição"_cp.str(), "DESCRICAO", "@s13")};
  return d;
}

ListDescriptor printers() {
  ListDescriptor d = base(33, "printers", kPrintsTable, {0, 0, 18, 22}, kOwn, "Selecao da impressora");
  d.hint = "Posicione na impressora e saia com ESC";
  d.columns = {
      col("Ativa", "CONFIM", "@!"),
      col("Nome Impressora", "NOMEIMP", "@S15"),
      col("  Reduzido  ", "SEQ1", "@S12", 12),
      col("   Normal   ", "SEQ0", "@S12", 12),
      col("Avanço Prop."_cp.str(), "SEQ2", "@S12", 12),
      col("Expandido", "SEQ3", "@S12", 12),
  };
  return d;
}

ListDescriptor billing_slips() {
  ListDescriptor d = base(45, "billing_slips", kBoletoTable, {10, 4, 22, 70});
  d.columns = {
      col("Nro Doc.", "NOSSONRO", "@s10"),
      col("Nome do Sacado", "NOMESAC", "@S30"),
      col("Data Venc.", "DATADOC", "@D"),
      col("Valor", "VALORDOC", "@Ez 99,999,999.99"),
  };
  d.caps.key_actions[key::kIns] = "VARIOS_BOLETOS";
  return d;
}

std::string agenda_heading(const CatalogueContext& ctx) {
  return "Compromissos - " + ctx.operator_name + " em " + ctx.agenda_day;
}

ListDescriptor agenda_day(const CatalogueContext& ctx) {
  ListDescriptor d = base(48, "agenda_day", kAgendaTable, {1, 8, 23, 69}, kOwn, "Compromissos");
  d.hint = "F1 - Abre calendario  F2 - Busca Aniversariantes do mes";
  d.columns = {col(agenda_heading(ctx), "ANOTAG", "@S60")};
  return d;
}

ListDescriptor agenda_hours(const CatalogueContext& ctx) {
  ListDescriptor d = base(49, "agenda_hours", kAgendaTable, {1, 2, 23, 74}, kOwn, "Compromissos com dia e hora");
  d.columns = {col("Hora", "HORAG", "@R ##:##"), col(agenda_heading(ctx), "ANOTAG", "@S60")};
  return d;
}

ListDescriptor appointments(const CatalogueContext& ctx) {
  ListDescriptor d = base(50, "appointments", kAgendaTable, {1, 1, 23, 79}, kOwn, "Relacao do Compromissos ");
  d.hint = "F1 - Ordena por compromisso  F2 - Ordena por data";
  d.columns = {
      col("Data", "DATAG", "@D"),
      col("Hora", "HORAG", "@R ##:##"),
      col("Compromissos - " + ctx.operator_name, "ANOTAG", "@S60"),
  };
  return d;
}

ListDescriptor taxpayers_select(const CatalogueContext& ctx) {
  ListDescriptor d = base(51, "taxpayers_select", ctx.transfer ? kLisNomeTable : kTaxpayerTable, {4, 4, 24, 70});
  d.hint = kSelectHint;
  d.frozen = 3;
  d.columns = {
      col(" CPF ", "CPF", kCpfPicture),
      col(" Nome do Contribuinte ", "NOMECONTR", "@S30", 30),
      status_column("Status", "@s12"),
      col(ctx.transfer ? "Trans" : "Elim.", "IMPRE", "@!"),
  };
  d.caps.append = false;
  d.caps.remove = false;
  return d;
}

ListDescriptor taxpayers_status() {
  ListDescriptor d = base(52, "taxpayers_status", kTaxpayerTable, {1, 1, 22, 78}, kOwn,
                          "Ajuste do Status, valor a cobrar, tempo de uso e numero do recibo");
  d.frozen = 3;
  d.columns = {
      col(" CPF ", "CPF", kCpfPicture),
      col(" Nome do Contribuinte ", "NOMECONTR", "@S23", 23),
      status_column("Descrição"_cp.str(), "@s13"),
      col("St.", "ESTATUS", "@ 99"),
      col("Cobrar", "VALOREC", "@EZ 999,999.99"),
      col("Tempo(s)", "TEM_USO", "@Ez 999,999"),
      col("Recibo 2014", "RECIBOATU", "@r 999999999999"),
      col("Recibo 2013", "RECIBOANT", "@r 999999999999"),
  };
  d.caps.append = false;
  d.caps.remove = false;
  return d;
}

ListDescriptor taxpayers_print() {
  ListDescriptor d = base(53, "taxpayers_print", kTaxpayerTable, {10, 4, 22, 70}, kOwn,
                          "Impressao de varios contribuintes");
  d.hint = kSelectHint;
  d.columns = {
      col(" CPF ", "CPF", "@r 999.999.999-99"),
      col(" Nome do Contribuinte ", "NOMECONTR", "@S30", 30),
      status_column("Status", "@s13"),
      col("Selec", "IMPRE", "@!"),
  };
  d.caps.append = false;
  d.caps.remove = false;
  return d;
}

ListDescriptor darfs() {
  ListDescriptor d = base(54, "darfs", kTaxpayerTable, {10, 1, 22, 78}, kOwn,
                          "Impressao de Darf de varios contribuintes");
  constexpr const char* kAmount = "@Ez 9999,999.99";
  d.frozen = 2;
  d.ult_pos = 3;
  d.columns = {
      col(" CPF ", "CPF", kCpfPicture),
      col(" Nome do Contribuinte ", "NOMECONTR", "@S20", 30),
      col("Sel", "IMPRE", "@!"),
      col("Deb.A.", "DEBITAUT", "@!"),
      col("Qt", "NRQUOTA", "@Z9"),
      col("Quota IR", "DFQUOTA", kAmount),
      col("Qt", "NRCLEAO", "@Z99"),
      col("Carnê Leao"_cp.str(), "DFCLEAO", kAmount),
      col("Qt", "NRGCAPIT", "@Z99"),
      col("Gan.Capital", "DFGCAPIT", kAmount),
      col("Qt", "NRRVARIV", "@Z99"),
      col("R.Variável"_cp.str(), "DFRVARIV", kAmount),
  };
  d.caps.append = false;
  d.caps.remove = false;
  return d;
}

ListDescriptor slips_print() {
  ListDescriptor d = base(55, "slips_print", kTaxpayerTable, {10, 4, 22, 70}, kOwn,
                          "Selecao para Impressao de boletos");
  d.frozen = 2;
  d.columns = {
      col(" CPF ", "CPF", kCpfPicture),
      col(" Nome do Contribuinte ", "NOMECONTR", "@S30", 30),
      col("Valor ", "VALOREC", "@EZ 999,999.99"),
      col("Selec", "IMPRE", "@!"),
  };
  d.caps.append = false;
  d.caps.remove = false;
  return d;
}

ListDescriptor details(const CatalogueContext& ctx) {
  ListDescriptor d = base(32, "details", kDetalhTable, {3, 3, 22, ctx.expense_percent ? 76 : 70});
  d.columns = {
      col("Discriminação"_cp.str(), "DESCRICAO", "@S40"),
      col("VALOR", "VALORDOC", "@Ez 999,999,999.99"),
  };
  if (ctx.expense_percent) d.columns.push_back(col("% DESP", "PERCDESP", "@Ez 999.99"));
  d.columns.push_back(col("% REC.", "PERCRECE", "@Ez 999.99"));
  return d;
}

ListDescriptor accounts() {
  ListDescriptor d = base(28, "accounts", kContasTable, {7, 3, 20, 75});
  d.columns = {
      col("Cod.", "CDCONTA", "@R 9.999"),
      col("Descrição"_cp.str(), "NMDESCRICA", "@S62", 62),
      col("Posi", "CDSTATUS", "@!"),
      col("Pág."_cp.str(), "PAGINA", "@Z99"),
      col("Lin.", "LINHA", "@z99"),
      col("Cpf?", "TEMCPF", "@!"),
      col("Cnpj?", "TEMCGC", "@!"),
      col("L.CX.", "LIVROCX", "@!"),
      col("Desc.", "TEMDESCR", "@!"),
  };
  return d;
}

}  // namespace

ListDescriptor office_list(int code, const CatalogueContext& ctx) {
  switch (code) {
    case 26: return corrected_quotas();
    case 28: return accounts();
    case 29: return status_codes();
    case 32: return details(ctx);
    case 33: return printers();
    case 40: return folder_list();
    case 45: return billing_slips();
    case 48: return agenda_day(ctx);
    case 49: return agenda_hours(ctx);
    case 50: return appointments(ctx);
    case 51: return taxpayers_select(ctx);
    case 52: return taxpayers_status();
    case 53: return taxpayers_print();
    case 54: return darfs();
    case 55: return slips_print();
    default: return {};
  }
}

}  // namespace tx::items
