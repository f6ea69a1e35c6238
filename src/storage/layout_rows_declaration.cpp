// Layouts of the declaration tables 01-20 (files IMPnn14 and the terminals'
// working copies). Columns: names, type, width, decimals, counter from, to,
// rows in the repeated group.
#include "storage/layout_rows.hpp"

namespace tx::storage {

namespace {

// 01: one record per taxpayer with the single values of the declaration.
constexpr LayoutRow kTable01[] = {
    {"CPF", 'C', 11},
    {"I3_## I4_##", 'N', 12, 2, 1, 10},  // exempt line nn, then exclusive line nn
    {"I3_##", 'N', 12, 2, 11, 24},
    {"I3_04GCPV I3_04UNIC I3_04REDU I3_04EXTR I3_04GCPVC I3_04UNICC I3_04REDUC", 'N', 12, 2},
    {"DESPINST", 'C', 1},
    {"DESPALIM", 'N', 1},
    {"RELDEPEN", 'C', 20},
    {"CpfInvent", 'C', 11},
    {"NomInvent", 'C', 40},
    {"EndInvent", 'C', 70},
    {"DataParti Datadecis", 'D', 8},
    {"nroProces", 'C', 25},
    {"VaraCivil", 'C', 4},
    {"Comarca", 'C', 25},
    {"UFProces", 'C', 2},
    {"AnoObito", 'N', 4},
    {"DecFinal DecSaida", 'C', 1},
    {"DataSaida", 'D', 8},
    {"DecJudi", 'C', 1},
    {"DataLavra", 'D', 8},
    {"NomeCarto", 'C', 80},
    {"CnpjCarto", 'C', 14},
    {"MuniCarto", 'C', 30},
    {"Livrcarto FolhCarto", 'N', 7},
    {"Morte2 InvConj", 'C', 1},
    {"CpfCompa", 'C', 11},
    {"NomCompa", 'C', 40},
    {"I13_##", 'N', 12, 2, 1, 50},
    {"QTD_QUOTA", 'N', 1},
    {"CARNEINSS CARNEDEPEN PREVIDENC", 'N', 12, 2},
    {"EMPRUR AMORUR OUTREC VALFUTUR OUTRDES PREJVEN PREJVEN1 PREJRUR PREJRVA LUCRRVA "
     "DESPNAO EMPREST DESPDECLA DESPADRAO",
     'N', 12, 2},
    {"INDALERTA", 'N', 2},
    {"IMPOANTER CUSTOANT CUSTOANO ENTRADGP ISENTNAO", 'N', 12, 2},
    {"CAL_AUTO", 'N', 1},
    {"SO_REC NOVREG", 'L', 1},
};

// 02: income items.
constexpr LayoutRow kTable02[] = {
    {"CPF", 'C', 11},
    {"I1_1", 'C', 1},
    {"I1_2", 'C', 60},
    {"I1_3", 'C', 18},
    {"I1_#", 'N', 12, 2, 4, 7},
    {"I1_8", 'C', 11},
    {"TIPOCR", 'C', 1},
    {"DT_LC", 'D', 8},
    {"I1_9 I1_10", 'N', 12, 2},
    {"I1_11", 'C', 1},
    {"I1_#", 'N', 12, 2, 12, 20},
    {"I1_21", 'N', 5, 1},
    {"I1_22", 'C', 11},
    {"I1_#", 'N', 12, 2, 23, 34},
    {"I1_35", 'C', 50},
    {"I1_36", 'C', 2},
    {"NEW1", 'L', 1},
    {"I1_4## I1_5## I1_6##", 'N', 12, 2, 1, 12},  // income, tax, social security of month mm
};

// 03: dependants, alimony recipients and heirs.
constexpr LayoutRow kTable03[] = {
    {"CPF", 'C', 11},      {"NOMEDEPEN", 'C', 41}, {"CODIDEPEN", 'N', 3},
    {"DATADEPEN", 'D', 8}, {"CPFDEPEN", 'C', 11},  {"NRODEPEN", 'N', 2},
    {"CPFHERDE", 'C', 18}, {"SAIUJUNT", 'C', 1},
};

// 04: assets and rights.
constexpr LayoutRow kTable04[] = {
    {"CPF", 'C', 11},
    {"I7_0", 'N', 4},
    {"I7_1", 'N', 3},
    {"I7_2", 'C', 512},
    {"I7_3 I7_4", 'N', 12, 2},
    {"I7_5", 'N', 3},
    {"I7_6", 'N', 4},
    {"I7_7", 'C', 1},
    {"I7_8", 'C', 3},
    {"I7_9", 'N', 12, 2},
    {"I7_10", 'C', 1},
    {"ENDEIMO", 'C', 30},
    {"NUMIMO", 'C', 6},
    {"COMPIMO BAIRIMO", 'C', 30},
    {"CEPIMO", 'C', 8},
    {"MUNICIMO", 'C', 30},
    {"UFIMO", 'C', 2},
    {"CODMIMO", 'C', 4},
    {"MATRICU LIVRORG CARTORIO", 'C', 40},
    {"AREAIMO", 'N', 9, 1},
    {"UNIDADE REGISTRO", 'C', 1},
};

// 05: debts and liens.
constexpr LayoutRow kTable05[] = {
    {"CPF", 'C', 11},  {"I8_0", 'N', 4},          {"I8_1", 'N', 3},     {"I8_2", 'C', 512},
    {"I8_3 I8_4", 'N', 12, 2}, {"I8_5", 'N', 3}, {"I8_6", 'N', 12, 2},
};

// 06: payments and donations.
constexpr LayoutRow kTable06[] = {
    {"CPF", 'C', 11},
    {"I6_1", 'C', 50},
    {"I6_2", 'C', 18},
    {"I6_3", 'N', 2},
    {"I6_4 I6_5", 'N', 12, 2},
    {"I6_6", 'N', 2},
    {"I6_7", 'C', 11},
    {"ACER", 'N', 1},
    {"I6_4##", 'N', 14, 2, 1, 12},
};

// 07: capital gains and variable income, one record per operation.
constexpr LayoutRow kTable07[] = {
    {"CPF CPFALIEN", 'C', 11},
    {"BEM_NRO RVAR_NRO", 'N', 2},
    {"DAY_TRADE", 'C', 1},
    {"TIPO_BEM", 'N', 1},
    {"NRO_ITEM", 'N', 3},
    {"CPF_DEPE", 'C', 11},
    {"CPFADQ", 'C', 18},
    {"MAISDE1", 'C', 1},
    {"CPFNOME", 'C', 250},
    {"PER_TRI", 'N', 10, 6},
    {"NOME_ADQ", 'C', 53},
    {"ESPC_BEM", 'C', 152},
    {"RUAIMO", 'C', 11},
    {"ENDEIMO", 'C', 30},
    {"NUMIMO", 'C', 6},
    {"COMPIMO", 'C', 21},
    {"BAIRIMO", 'C', 20},
    {"CEPIMO", 'C', 8},
    {"MUNICIMO", 'C', 30},
    {"UFIMO", 'C', 2},
    {"DATA_ALI DATA_ADQ", 'D', 8},
    {"NOME_SOCIE", 'C', 32},
    {"CGC_SOCIE", 'C', 14},
    {"CID_SOCIE", 'C', 30},
    {"EST_SOCIE", 'C', 2},
    {"IND_ALI", 'N', 11, 4},
    {"VAL_ALI CUS_ATUAL VAL_CORR VAL_RECOL VAL_TRIBU VAL_NAOTRI VAL_IMPOSV VAL_IMPOSP IMPPAGO",
     'N', 12, 2},
    {"VEN_PRAZO PEQ_VALOR USU_440", 'C', 1},
    {"NATUOPER", 'C', 30},
    {"PARCOMPRA VENDAANT USA_ART31", 'C', 1},
    {"VAL_PARTE", 'N', 12, 2},
    {"PERART31", 'N', 10, 6},
    {"TIPOPART", 'N', 1},
    {"FR1 FR2", 'N', 18, 8},
    {"REDUCAO FATOR1 FATOR2 GAN_TRIV GAN_TRIP VAL_ANTE VAL_DIFE IMP_ANTE IMP_DIFE", 'N', 12, 2},
    {"FOIDIFE SUJREG", 'C', 1},
    {"NEW", 'L', 1},
    // month by month: the three rows below repeat together for 01 .. 12
    {"REC_MES## VAL_TRI##", 'N', 12, 2, 1, 12, 3},
    {"DIA_REC##", 'N', 2},
    {"IMP_DEV## IMP_PAG## IMP_LEI##", 'N', 12, 2},
};

// 08: acquisition parcels and share lots of a capital-gain operation.
constexpr LayoutRow kTable08[] = {
    {"CPF", 'C', 11},
    {"BEM_NRO RVAR_NRO", 'N', 2},
    {"DAY_TRADE", 'C', 1},
    {"VALOR_REDU VALOR_CUST", 'N', 12, 2},
    {"DATA_CUST", 'D', 8},
    {"IND_CUST", 'N', 10, 4},
    {"PER_RED", 'N', 3},
    {"PER_RED1 PER_RED2", 'N', 11, 8},
    {"PER_CUST", 'N', 12, 6},
    {"RESUL_2 RESUL_3", 'N', 12, 2},
    {"SALDO_COEF", 'N', 14, 4},
    {"CM_PONDER", 'N', 15, 6},
    {"SALDO_ACAO MOV_ACAO", 'N', 9},
    {"CUST_UNI", 'N', 12, 2},
    {"CMED_COEF", 'N', 18, 4},
    {"TIPO_OPER TIPO_ACAO", 'N', 1},
    {"LOTE", 'C', 17},
};

// 09: taxpayer register, one record per taxpayer.
constexpr LayoutRow kTable09[] = {
    {"CPF", 'C', 11},
    {"RETIFICA", 'C', 1},
    {"NOMECONTR", 'C', 53},
    {"TIPOEND", 'C', 11},
    {"ENDERECO", 'C', 37},
    {"NUMERO", 'C', 6},
    {"COMPLEM", 'C', 21},
    {"BAIRRO", 'C', 20},
    {"CEP", 'C', 9},
    {"CODMUNI", 'C', 4},
    {"MUNICIPIO", 'C', 30},
    {"UF", 'C', 2},
    {"CODPAIS CODEMB", 'C', 3},
    {"DDDTEL", 'C', 4},
    {"TELEFO", 'C', 9},
    {"DDDFAX", 'C', 4},
    {"NROFAX", 'C', 9},
    {"EMAIL", 'C', 40},
    {"NASCIMENTO", 'D', 8},
    {"TITULO", 'C', 13},
    {"CGCPAGADOR", 'C', 18},
    {"OCUPACAO", 'C', 69},
    {"CDPRO", 'C', 3},
    {"CODAT", 'C', 2},
    {"DESCRAT", 'C', 58},
    {"NRORECIBO RECIBOATU RECIBOANT", 'C', 12},
    {"CODACESSO", 'N', 12},
    {"SENACESSO", 'C', 15},
    {"TEMRURAL ATV_BRASIL E_INVALIDO", 'C', 1},
    {"PROCBRASIL", 'C', 11},
    {"EBRASIL EXTERIOR", 'C', 1},
    {"CPFCONJU", 'C', 11},
    {"NOVOEND", 'C', 1},
    {"TEM_USO TAM_USO", 'N', 6},
    {"IMPRE", 'C', 1},
    {"ESTATUS ORDEM", 'N', 2},
    {"SOMAG", 'C', 1},
    {"I9_2 I9_3", 'N', 12, 2},
    {"I9_4 I9_5 I9_6", 'C', 1},
    {"DIRCONJU", 'C', 80},
    {"VALOREC", 'N', 12, 2},
    {"BANCO", 'C', 3},
    {"AGENCIA", 'C', 6},
    {"CONTACO", 'C', 15},
    {"DEBITAUT", 'C', 1},
    {"SALDO", 'N', 12, 2},
    {"INDGAS", 'N', 6, 2},
    {"USAPADRAO CONJPAD", 'C', 1},
    {"IMPPGRE", 'N', 12, 2},
    {"I13_20 I13_24 I13_27 I13_28 I13_35 I13_44 I13_45 EXGSUSP", 'N', 12, 2},
    {"QTD_QUOTA", 'N', 1},
    {"I13_#C", 'N', 12, 2, 1, 5},
    {"NUSUAT", 'C', 2},
    {"SO_SIMPLES NOVO", 'C', 1},
    {"TELCELU TELESCR TELSECR", 'C', 9},
    {"ULTRESI ULTIMOV", 'D', 8},
    {"NRQUOTA", 'N', 1},
    {"DFQUOTA", 'N', 12, 2},
    {"NRCLEAO", 'N', 2},
    {"DFCLEAO", 'N', 12, 2},
    {"NRGCAPIT", 'N', 2},
    {"DFGCAPIT", 'N', 12, 2},
    {"NRRVARIV", 'N', 2},
    {"DFRVARIV", 'N', 12, 2},
    {"TRIB_EX NTRIB_EX PREJU_EX DIVAD_EX DIVPG_EX TRIB_BR NTRIB_BR PREJU_BR DIVAD_BR DIVPG_BR",
     'N', 12, 2},
    {"NOMEAG", 'C', 22},
};

// 10: costs of keeping assets.
constexpr LayoutRow kTable10[] = {
    {"CPF", 'C', 11},           {"CODDESP", 'N', 3},    {"DESCDESP", 'C', 25},
    {"VALODESP", 'N', 12, 2},   {"DESCRITEM", 'C', 25},
};

// 11: notes and findings of the declaration check.
constexpr LayoutRow kTable11[] = {
    {"CPF", 'C', 11}, {"OBSERV", 'C', 60}, {"CODERR PAGINA", 'N', 2},
};

// 12: monthly tax on income from individuals and from abroad; month 13 is the year.
constexpr LayoutRow kTable12[] = {
    {"CPF", 'C', 11},
    {"CPFdepen", 'C', 11},
    {"I2_1## I2_2## I2_3## I2_4## I2_5## I2_6## I2_7##", 'N', 12, 2, 1, 13},
};

// 13: cash-book entries of self-employed income.
constexpr LayoutRow kTable13[] = {
    {"CPF", 'C', 11},       {"CDCONTA", 'C', 4},   {"DESCONTA", 'C', 60},
    {"VALODESP", 'N', 13, 2}, {"NROITEM", 'N', 3}, {"NROCGCCPF", 'C', 18},
    {"LANCADO", 'L', 1},    {"MESINI MESFIM", 'N', 2}, {"CPFDEPEN", 'C', 11},
};

// 14: income from savings and financial applications.
constexpr LayoutRow kTable14[] = {
    {"CPF", 'C', 11},
    {"DESCRICAO", 'C', 26},
    {"POUPANCA APLICACAO PREJU OUTNT OUTTR OUTDP", 'N', 12, 2},
    {"TIPO", 'C', 1},
};

// 15: rural activity, main record per taxpayer and place of activity.
constexpr LayoutRow kTable15[] = {
    {"CPF", 'C', 11},
    {"ATV_BRASIL", 'C', 1},
    {"I3_##OR I3_##OD", 'N', 12, 2, 1, 12},
    {"I4R_##", 'N', 12, 2, 1, 7},
    {"I5_08 I5_09 I5_10 I6_10", 'N', 12, 2},
    {"OPT_20 OPT_20E", 'C', 1},
    {"I7_#A I7_#B I7_#C I7_#S I7_#V1", 'N', 6, 0, 1, 5},  // herd movement n by species
    {"I7_V1", 'C', 22},
    {"SO_TOTAL", 'L', 1},
};

// 16: rural properties.
constexpr LayoutRow kTable16[] = {
    {"CPF", 'C', 11},
    {"ATV_BRASIL", 'C', 1},
    {"I2R_01", 'C', 60},
    {"I2R_02", 'N', 9, 2},
    {"I2R_03", 'C', 8},
    {"I2R_04", 'N', 6, 2},
    {"I2R_05", 'N', 1},
    {"I2R_06", 'C', 55},
    {"I2R_07", 'N', 2},
    {"VALITR", 'N', 12, 2},
    {"CODPAIS", 'C', 3},
    {"RECEXT DESEXT", 'N', 12, 2},
    {"VALUSE", 'N', 7, 2},
    {"RESUS OPC20US OPC20RS", 'N', 12, 2},
};

// 17: assets of the rural activity.
constexpr LayoutRow kTable17[] = {
    {"CPF", 'C', 11},  {"ATV_BRASIL", 'C', 1}, {"ITEM CODIGO", 'N', 3},
    {"I8R_0", 'N', 4}, {"I8R_1", 'C', 512},    {"I8R_2", 'N', 12, 2},
    {"I8R_3", 'C', 3}, {"I8R_4", 'N', 1},
};

// 18: debts of the rural activity.
constexpr LayoutRow kTable18[] = {
    {"CPF", 'C', 11},   {"ATV_BRASIL", 'C', 1}, {"I9R_0", 'N', 4},
    {"ITEM", 'N', 3},   {"I9R_1", 'C', 512},    {"I9R_2 I9R_3 I9R_4 I9R_5", 'N', 12, 2},
};

// 19: rural cash book.
constexpr LayoutRow kTable19[] = {
    {"CPF", 'C', 11},       {"ATV_BRASIL", 'C', 1}, {"DT_LC", 'D', 8},
    {"DESCR", 'C', 41},     {"VALOR", 'N', 14, 2},  {"NROIMO", 'N', 2},
    {"TIPOCR TEMITR", 'C', 1},
};

// 20: heirs' shares in an estate's assets.
constexpr LayoutRow kTable20[] = {
    {"CPF", 'C', 11},      {"REFEREN", 'N', 4},   {"NOMEDEPEN", 'C', 41},
    {"NRODEPEN", 'N', 2},  {"CPFHERDE", 'C', 18}, {"PERCENT", 'N', 6, 2},
};

constexpr TableRows kDeclarationTables[] = {
    {1, kTable01},  {2, kTable02},  {3, kTable03},  {4, kTable04},  {5, kTable05},
    {6, kTable06},  {7, kTable07},  {8, kTable08},  {9, kTable09},  {10, kTable10},
    {11, kTable11}, {12, kTable12}, {13, kTable13}, {14, kTable14}, {15, kTable15},
    {16, kTable16}, {17, kTable17}, {18, kTable18}, {19, kTable19}, {20, kTable20},
};

}  // namespace

std::span<const TableRows> declaration_table_rows() { return kDeclarationTables; }

}  // namespace tx::storage
