// Layouts of the office tables the system creates in the program folder.
// Columns: names, type, width, decimals, counter from, to, rows in the group.
#include "storage/layout_rows.hpp"

namespace tx::storage {

namespace {

// 41 PRINTS: printers and their control sequences.
constexpr LayoutRow kPrints[] = {
    {"CONFIM", 'C', 1},
    {"NOMEIMP", 'C', 15},
    {"SEQ#", 'C', 60, 0, 0, 3},  // normal, condensed, proportional, expanded
};

// 42 CONFIG: one record per terminal.
constexpr LayoutRow kConfig[] = {
    {"NRO_TERM", 'C', 2},
    {"ROTAANTER ROTADOANO ROTAREANT ROTARECEI ROTAJAVA ROTABACK dirtrab DIRPROV DIRINST", 'C', 80},
    {"queimp", 'N', 2},
    {"quemod", 'N', 1},
    {"quepag", 'N', 2},
    {"quecon ENV_STAT", 'N', 1},
    {"MARESQ INIFOL LINETI NRO_LIN OPC_TRAN", 'N', 2},
    {"compaga", 'N', 1},
    {"ImpBem ImpBal mosimp mostel mosCPF", 'C', 1},
    {"querSen", 'L', 1},
    {"ult_ter ult_mod", 'N', 1},
    {"ult_senIR ult_senAAR", 'N', 5},
    {"ult_cpf", 'C', 11},
    {"XDRIVE", 'C', 1},
    {"SOESTE", 'N', 2},
    {"OPTTRAN", 'N', 1},
    {"NOVOIT", 'N', 2},
    {"ULTBACK", 'D', 8},
    {"OPCIRPF", 'C', 1},
    {"NOMEAG", 'C', 22},
};

// 43 DEFINE: the single settings record.
constexpr LayoutRow kDefine[] = {
    {"VCTO#", 'D', 8, 0, 1, 8},  // quota due dates
    {"VAL_SEG VAL_BYTE", 'N', 5, 2},
    {"VAL_MIN", 'N', 8, 2},
    {"COMO_SAL", 'N', 1},
    {"TEMP_SAL TEMP_DES", 'N', 2},
    {"VAL_CPMF VAL_DOLAR", 'N', 8, 4},
    {"BOL_BANCO BOL_AGENCI", 'C', 4},
    {"BOL_CONTA", 'C', 6},
    {"BOL_NOME", 'C', 30},
    {"BOL_CNPJ", 'C', 14},
    {"BOL_CPF", 'C', 11},
    {"BOL_CARTEI", 'C', 3},
    {"BOL_NOSNRO", 'N', 8},
    {"SER_SMTP", 'C', 47},
    {"NOM_USUA EMA_USUA", 'C', 40},
    {"SEN_USUA", 'C', 19},
    {"MEMORIZ VER_ATUAL PROCESSA PROGCOMP", 'C', 1},
    {"STATRAVA", 'N', 2},
};

// 44 IMPCORRIG: taxes to pay and refunds with their corrected values.
constexpr LayoutRow kImpCorrig[] = {
    {"CPF", 'C', 11},
    {"NOMECONTR", 'C', 53},
    {"IMPPGRE", 'N', 12, 2},
    {"QTD_QUOTA", 'N', 1},
    {"IMPOSTO RESTITU CORRIGI", 'N', 12, 2},
};

// 50 DIRETnn: the terminal's folder list.
constexpr LayoutRow kDiret[] = {{"SELEC", 'C', 1}, {"DIRETOR", 'C', 80}};

// 52 AUXBENS: reusable asset descriptions.
constexpr LayoutRow kAuxBens[] = {{"DESCRICAO", 'C', 512}, {"CODIGO", 'N', 3}};

// 53 AUXPAG: reusable payees.
constexpr LayoutRow kAuxPag[] = {{"NOME", 'C', 50}, {"CGCCPF", 'C', 18}, {"CODIGO", 'N', 2}};

// 54 LisErro: findings of the declaration check.
constexpr LayoutRow kLisErro[] = {
    {"coderr", 'N', 2}, {"DESCRI", 'C', 60}, {"GRAU", 'N', 1}, {"PAGINA", 'N', 2},
};

// 56 CORES: the terminal's colours, attributes first, then colour strings.
constexpr LayoutRow kCores[] = {
    {"NRO_TERM", 'C', 2},
    {"COR_TEL#", 'N', 3, 0, 1, 3},
    {"COR_MENS COR_PEGA COR_HELP COR_FERID COR_ESCOL COR_ENCHE", 'N', 3},
    {"COR_1_CLI COR_2_CLI COR_INI COR_SAY COR_GET COR_CLI_HE COR_ESC_CL COR_ENCH_C", 'C', 10},
};

// 57 CONFIMP: the terminal's printer configuration.
constexpr LayoutRow kConfImp[] = {
    {"NRO_TERM", 'C', 2},
    {"NROIMPR NROLPT NROCOM", 'N', 1},
    {"LOCIMPR VERMELHO", 'C', 1},
    {"SAIDAPR", 'C', 8},
    {"NOMEIMP", 'C', 15},
    {"NOMEREDE", 'C', 60},
    {"SEQ#", 'C', 60, 0, 0, 3},
};

// 63 FOLHAPG: income statements of employees issued by the office.
constexpr LayoutRow kFolhaPg[] = {
    {"CPF", 'C', 11},
    {"NOMECONTR", 'C', 47},
    {"NOMEFONTE", 'C', 40},
    {"CNPJFONTE", 'C', 18},
    {"RENDIMENT PREVOFICA PREVPRIVA PENSAOPAG IRRETIDO ISENTOAPO DIARIAS PENSAOREC LUCRODIV "
     "SOCIO IDENIZA DECIMO3RO",
     'N', 12, 2},
    {"COMPLENTA OUTROS OUTROSEXC", 'C', 40},
    {"VALOUTRO VALOUTRE", 'N', 12, 2},
    {"IMPRE", 'C', 1},
};

// 67 BOLETO: billing slips.
constexpr LayoutRow kBoleto[] = {
    {"NRODOCUM", 'N', 5}, {"NOSSONRO", 'N', 8}, {"DATADOC", 'D', 8},
    {"VALORDOC", 'N', 12, 2}, {"NOMESAC", 'C', 30}, {"CPFSAC", 'C', 11},
};

// 68 DETALHnn: the terminal's scratch list of balance lines.
constexpr LayoutRow kDetalh[] = {
    {"DESCRICAO", 'C', 40}, {"VALORDOC", 'N', 12, 2}, {"PERCDESP PERCRECE", 'N', 9, 2},
};

// 70 LISNOME: taxpayers found in files to import.
constexpr LayoutRow kLisNome[] = {
    {"CPF", 'C', 11}, {"NOMECONTR", 'C', 40}, {"NOMEARQ", 'C', 80},
    {"TIPO ORIGEM", 'C', 12}, {"IMPRE", 'C', 1},
};

// 72 AGENDA: the operators' appointments.
constexpr LayoutRow kAgenda[] = {
    {"NOMEAG", 'C', 22}, {"HORAG", 'C', 5}, {"ANOTAG", 'C', 60},
    {"DATAG", 'D', 8},   {"AVISAG", 'L', 1},
};

// 73 USOLOG: usage log of the work on declarations.
constexpr LayoutRow kUsoLog[] = {
    {"NOMEAG", 'C', 22}, {"CPF", 'C', 11}, {"NOMECONTR", 'C', 53},
    {"DATAUSO", 'D', 8}, {"INIUSO FIMUSO TEMUSO", 'C', 8},
};

// 74 AUXFON: reusable paying sources.
constexpr LayoutRow kAuxFon[] = {{"NOME", 'C', 50}, {"CGCCPF", 'C', 18}};

constexpr TableRows kOfficeTables[] = {
    {41, kPrints},  {42, kConfig},  {43, kDefine},  {44, kImpCorrig}, {50, kDiret},
    {52, kAuxBens}, {53, kAuxPag},  {54, kLisErro}, {56, kCores},     {57, kConfImp},
    {63, kFolhaPg}, {67, kBoleto},  {68, kDetalh},  {70, kLisNome},   {72, kAgenda},
    {73, kUsoLog},  {74, kAuxFon},
};

}  // namespace

std::span<const TableRows> office_table_rows() { return kOfficeTables; }

}  // namespace tx::storage
