// Which terminal the start-up decides on, and where the program folder is.
#include "startup_fixture.hpp"

namespace tx::shell::testing {
namespace {

const std::string kLeave = answer("{Esc}") + answer("S");

TEST(TerminalNumber, TwoDigitsOrNothing) {
  struct Case { const char* typed; const char* want; };
  const Case cases[] = {{"7", "07"}, {"07", "07"}, {" 12 ", "12"}, {"0", "00"}, {"99", "99"},
                        {"100", nullptr}, {"7a", nullptr}, {"-1", nullptr}, {"", nullptr},
                        {"../x", nullptr}, {"1 2", nullptr}};
  for (const auto& c : cases) {
    auto got = terminal_number(c.typed);
    if (c.want) EXPECT_EQ(got.value_or("<none>"), c.want) << c.typed;
    else EXPECT_FALSE(got) << c.typed << " -> " << got.value_or("");
  }
}

TEST_F(StartupTest, TerminalFromVariableOrParameterOrLocalDrive) {
  struct Case {
    std::optional<std::string> terminal;
    std::string parameter;
    std::string want;
  };
  const Case cases[] = {{"7", "", "07"}, {std::nullopt, "7", "07"}, {"3", "8", "03"}, {std::nullopt, "", "00"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want + " from " + c.terminal.value_or("-") + "/" + c.parameter);
    no_update_check();
    env.TERMINAL = c.terminal;
    env.parameter = c.parameter;
    auto r = run(kLeave);
    EXPECT_EQ(r.status, 0) << r.where;
    EXPECT_FALSE(r.ran_out) << r.where;
    EXPECT_EQ(r.g.NUSU, c.want);
    EXPECT_TRUE(has_file("DIRET" + c.want + ".DBF"));
    EXPECT_EQ(config_text(c.want, "NRO_TERM"), c.want);
  }
}

TEST_F(StartupTest, TerminalOutsideTheRangeIsRefusedBeforeAnyFile) {
  for (const char* bad : {"100", "x1", "../../etc"}) {
    SCOPED_TRACE(bad);
    env.TERMINAL = bad;
    auto r = run("");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.where.find(to_utf8("Número de terminal inválido: "_cp + std::string(bad))), std::string::npos)
        << r.where;
    EXPECT_FALSE(has_file("CONFIG.DBF"));
    EXPECT_FALSE(has_file("CORES.DBF"));
  }
}

TEST_F(StartupTest, NetworkDriveAsksTheTerminal) {
  no_update_check();
  env.network_drive = [](std::string_view) { return true; };
  env.USUAR = "MARIA";
  {
    auto r = run("");
    EXPECT_NE(r.where.find("MARIA"), std::string::npos) << r.where;
    EXPECT_NE(r.where.find(" Informe o nro. do terminal."), std::string::npos) << r.where;
  }
  auto r = run("12{Enter}" + kLeave);
  EXPECT_EQ(r.g.NUSU, "12") << r.where;
  EXPECT_TRUE(has_file("DIRET12.DBF"));
  env.EQUIP = "5";
  r = run("");
  EXPECT_NE(r.where.find(" Confirme o nro. do terminal."), std::string::npos) << r.where;
  r = run("{Enter}" + kLeave);
  EXPECT_EQ(r.g.NUSU, "05") << r.where;
}

TEST_F(StartupTest, MissingProgramFolderIsToldAndTheCurrentFolderUsed) {
  env.DVE2014 = folder + "/nao-existe";
  no_update_check();
  auto r = run(answer(""));
  // The status line shows it (cut at its width before the clock).
  EXPECT_NE(r.where.find(to_utf8("<Dir> "_cp + *env.DVE2014 + "não encontrado."_cp)),
            std::string::npos)
      << r.where;
  EXPECT_EQ(r.g.ROTADEF, folder);
  EXPECT_TRUE(has_file("DIRET00.DBF"));
}

TEST_F(StartupTest, NewTerminalGetsTheDefaultConfiguration) {
  no_update_check();
  env.TERMINAL = "4";
  auto r = run(kLeave, Date::ymd(2014, 3, 2));
  ASSERT_EQ(r.status, 0) << r.where;
  struct Case { const char* field; std::string want; };
  const Case cases[] = {{"ROTAANTER", "C:\\TX2013"},
                        {"ROTADOANO", folder},
                        {"ROTARECEI", "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2014\\APLICACAO\\DADOS"},
                        {"ROTAREANT", "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2013\\TRANSMITIDAS"},
                        {"ROTAJAVA", "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2014\\APLICACAO\\DADOS"},
                        {"dirtrab", folder},
                        {"DIRPROV", folder},
                        {"DIRINST", "C:\\TX2013"},
                        {"queimp", "1"}, {"quemod", "1"}, {"quepag", "1"}, {"quecon", "1"},
                        {"ENV_STAT", "2"}, {"MARESQ", "0"}, {"INIFOL", "0"}, {"LINETI", "6"},
                        {"NRO_LIN", "60"}, {"OPC_TRAN", "7"}, {"compaga", "1"}, {"ImpBem", "1"},
                        {"ImpBal", "1"}, {"mosimp", "S"}, {"mostel", "S"}, {"mosCPF", ""},
                        {"querSen", "F"}, {"ult_mod", "1"}, {"ult_senIR", "0"}, {"XDRIVE", "A"},
                        {"SOESTE", "9"}, {"OPTTRAN", "0"}, {"OPCIRPF", "J"}, {"NOMEAG", "USUARIO DO TERMINAL 04"}};
  for (const auto& c : cases) EXPECT_EQ(config_text("04", c.field), c.want) << c.field;
  EXPECT_EQ(config_date("04", "ULTBACK"), Date::ymd(2014, 3, 2));
  // The settings record as the installation starts with it.
  EXPECT_EQ(r.g.BOL_BANCO, 341);
  EXPECT_EQ(r.g.CVALDOLAR, "2.0429");
  EXPECT_EQ(DTOC(r.g.DAT_VENC[0]), "30/04/2014");
  EXPECT_EQ(DTOC(r.g.DAT_VENC[7]), "28/11/2014");
  EXPECT_EQ(r.g.LOCARQ, folder + "\\");
}

}  // namespace
}  // namespace tx::shell::testing
