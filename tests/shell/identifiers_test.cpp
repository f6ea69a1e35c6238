// Identifier check digits and punctuation, and the dependant CPF fields.
#include "shell/identifiers.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "base/codepage.hpp"
#include "platform/console_headless.hpp"
#include "screen/screen_storage_host.hpp"
#include "shell/ident_dependants.hpp"

namespace tx::shell {
namespace {

std::string joined(const IdCheck& c) {
  std::string s;
  for (const auto& l : c.message) s += l + "|";
  return s;
}

struct IdCase {
  std::string text;
  bool ok;
  std::string message_part;  // a piece of the refusal ("" when accepted)
};

void expect_cases(const std::vector<IdCase>& cases, IdCheck (*check)(std::string_view)) {
  for (const auto& p : cases) {
    IdCheck c = check(p.text);
    EXPECT_EQ(c.ok, p.ok) << "[" << p.text << "]";
    if (p.ok) EXPECT_TRUE(c.message.empty()) << "[" << p.text << "] " << joined(c);
    else EXPECT_NE(joined(c).find(p.message_part), std::string::npos) << "[" << p.text << "] " << joined(c);
  }
}

TEST(IdentifiersCpf, KnownGoodAndBad) {
  expect_cases(
      {
          {"11144477735", true, ""},
          {"52998224725", true, ""},
          {"111.444.777-35", true, ""},
          {"12345671300", true, ""},  // first remainder 10: digit 0, second sum + 9
          {"12345670240", true, ""},  // second remainder 10
          {"11144477736", false, "O dígito para esse número é:35"_cp},
          {"111.444.777-53", false, "CPF 111.444.777-53 está incorreto. |"_cp},
          {"12345671301", false, "é:00"_cp},
          {"1234567130", false, "é:00"_cp},  // check part short
          {"11111111111", false, "todos os dígitos iguais"_cp},
          {"000.000.000-00", false, "todos os dígitos iguais"_cp},
          {"99999999999", false, "todos os dígitos iguais"_cp},
          {"12345", false, "ATENÇÃO! CPF está incompleto."_cp},
          {"", false, "ATENÇÃO! CPF está incompleto."_cp},
      },
      [](std::string_view t) { return check_cpf(t, true); });
}

TEST(IdentifiersCpf, BlankDependsOnRequiredAndMode) {
  EXPECT_TRUE(check_cpf("           ", false).ok);
  IdCheck name_search = check_cpf("           ", true, 1);
  EXPECT_TRUE(name_search.ok);
  EXPECT_TRUE(name_search.clear_name);
  EXPECT_FALSE(check_cpf("11144477735", true, 1).clear_name);

  std::vector<std::string> shown;
  bool cleared = false;
  EXPECT_TRUE(VAL_CPF("", true, 5, 10, 1, [&](const auto& m) { shown = m; }, [&] { cleared = true; }));
  EXPECT_TRUE(cleared);
  EXPECT_FALSE(VAL_CPF("11144477736", true, 5, 10, 0, [&](const auto& m) { shown = m; }));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "ATENÇÃO! CPF 111.444.777-36 está incorreto. "_cp.str());
}

TEST(IdentifiersCnpj, KnownGoodAndBad) {
  expect_cases(
      {
          {"11222333000181", true, ""},
          {"11.222.333/0001-81", true, ""},
          {"11222333001404", true, ""},  // first remainder 1 gives 0
          {"11222333000182", false, "O dígito para esse número é:81"_cp},
          {"11222333001414", false, "CNPJ 11.222.333/0014-14 está incorreto. "_cp},
          {"11222333000", false, "ATENÇÃO! CNPJ está incompleto."_cp},
          {"", false, "incompleto"},
      },
      [](std::string_view t) { return check_cgc(t, true); });
  EXPECT_TRUE(check_cgc("", false).ok);
}

TEST(IdentifiersNit, KnownGoodAndBad) {
  expect_cases(
      {
          {"", true, ""},
          {"12004521122", true, ""},
          {"120.04521.12-2", true, ""},
          {"12004521130", true, ""},  // remainder below 2 gives 0
          {"12004521123", false, "ATENÇÃO! NIT está incorreto. |Se estiver digitado CPF"_cp},
          {"1200452112", false, "ATENÇÃO! O NIT do empregado está errado "_cp},
          {"120045211222", false, "errado"},
      },
      check_nit);
}

TEST(IdentifiersCpfCgc, ToldApartByPunctuation) {
  expect_cases(
      {
          {"111.444.777-35    ", true, ""},
          {"11.222.333/0001-81", true, ""},
          {"111.444.777-36    ", false, "é:35"_cp},
          {"11.222.333/0001-80", false, "é:81"_cp},
          {"11144477735", true, ""},       // plain digits: 11 make a CPF
          {"11222333000181", true, ""},    // and 14 a CNPJ
          {"111444777", false, " Digite o CPF/CNPJ com número correto "_cp},
          {"AB-CDEFGH", false, "CPF=nnn.nnn.nnn-nn CNPJ=nn.nnn.nnn/nnnn-nn "},
          // A NIT with its dots is checked as a NIT, not let through.
          {"120.04521.12-2    ", true, ""},
          {"120.04521.12-9    ", false, "NIT está incorreto"_cp},
          {"XXX.XXXXX.XX-X    ", false, "NIT do empregado"},
          {"111.111.111-11    ", false, "todos os dígitos iguais"_cp},
      },
      [](std::string_view t) { return check_cpfcgc(t, true); });
  EXPECT_TRUE(check_cpfcgc("   ", false).ok);
  EXPECT_FALSE(check_cpfcgc("   ", true).ok);
}

TEST(IdentifiersTitle, KnownGoodAndBad) {
  expect_cases(
      {
          {"", true, ""},
          {"004356870906", true, ""},
          {"0004356870906", true, ""},   // 13 positions, leading zero
          {"00435687090-6", true, ""},
          {"102300170183", true, ""},    // state 01: a 0 becomes 1
          {"004356870907", false, "incorreto"},
          {"004356872906", false, "incorreto"},  // state 29 does not exist
          {"0043568709", false, "incorreto"},
      },
      [](std::string_view t) { return check_titu(t, false); });
  EXPECT_FALSE(check_titu("", true).ok);
}

TEST(IdentifiersModulo11, DigitsAndReceipts) {
  EXPECT_EQ(MODULO_11("1"), "9");
  EXPECT_EQ(MODULO_11("5"), "1");
  EXPECT_EQ(MODULO_11("0"), "0");
  EXPECT_EQ(MODULO_11(""), "");
  EXPECT_EQ(receipt_check_digits("1234567890"), "91");
  EXPECT_EQ(receipt_check_digits("123456789"), "");
}

TEST(IdentifiersPunctuation, PutAndTakeAway) {
  struct P { std::string in, contaponto; };
  const std::vector<P> cases = {
      {"11144477735", "111.444.777-35    "},
      {"11222333000181", "11.222.333/0001-81"},
      {"11144477735       ", "111.444.777-35    "},
      {"111.444.777-35    ", "111.444.777-35    "},  // already punctuated
      {"123", "123"},
      {"12345678", "12345678"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CONTAPONTO(c.in), c.contaponto) << c.in;
    EXPECT_EQ(POEPONTO(c.in, 2, 1), c.contaponto) << c.in;  // any other kind
  }
  EXPECT_EQ(TIRA_PONTO("11.222.333/0001-81"), "11222333000181");
  EXPECT_EQ(TIRA_PONTO(" a-1 "), "1");

  struct Q { int code; std::string out; };
  for (const auto& q : std::vector<Q>{{1, "11.144.477/735 -  "},
                                      {98, "11.144.477/735 -  "},
                                      {10, "111.444.777-35    "},
                                      {94, "111.444.777-35    "},
                                      {50, "111.44477.73-5    "},
                                      {2, "111.444.777-35    "}}) {
    EXPECT_EQ(POEPONTO("11144477735", 1, q.code), q.out) << q.code;
  }
  EXPECT_EQ(POEPONTO("111.444.777-35", 1, 1), "111.444.777-35");
}

}  // namespace
}  // namespace tx::shell

// ---- dependant CPF fields --------------------------------------------------

namespace tx::shell {
namespace {

struct Dependants {
  explicit Dependants(std::string_view script)
      : root(std::filesystem::temp_directory_path() /
             ("tx_deps_" + std::to_string(::getpid()) + "_" + std::to_string(std::random_device{}()))),
        con(platform::make_headless_console(script)), screen(*con), host(screen), tables(host), pick(screen, tables) {
    std::filesystem::create_directories(root);
    const std::string dir = root.string() + "\\";
    tables.places = {dir, dir, dir, "07"};
    EXPECT_TRUE(tables.ABERTURA(kDependantsCopy, true));
    storage::WorkArea& d = tables.area(kDependantsCopy);
    for (const auto& [cpf, name, code] : std::vector<std::tuple<std::string, std::string, int>>{
             {"11144477735", "FILHO", 3}, {"52998224725", "EX-ESPOSA", 98}, {"12345671300", "FILHA", 4}}) {
      d.append_blank();
      d.replace_text("CPF", "98765432100");
      d.replace_text("CPFDEPEN", cpf);
      d.replace_text("NOMEDEPEN", name);
      d.replace_number("CODIDEPEN", code);
    }
    d.commit();
    tables.SELECT(22);
    pick.hooks.put = [this](std::string_view t, const screen::GetValue& v) {
      if (auto s = std::get_if<std::string>(&v)) puts.emplace_back(std::string(t), *s);
    };
  }
  ~Dependants() { std::filesystem::remove_all(root); }
  IdNotify notify() {
    return [this](const std::vector<std::string>& m) { told.insert(told.end(), m.begin(), m.end()); };
  }
  std::filesystem::path root;
  std::unique_ptr<platform::HeadlessConsole> con;
  screen::Screen screen;
  screen::ScreenStorageHost host;
  storage::Tables tables;
  screen::PickList pick;
  std::vector<std::pair<std::string, std::string>> puts;
  std::vector<std::string> told;
};

TEST(IdentifiersDependants, WrongDigitsAreRefused) {
  Dependants d("");
  std::string cpf = "11144477736";
  EXPECT_FALSE(VERCPFDEPE(d.pick, d.tables, "M->CPFDEPEN", cpf, d.notify()));
  ASSERT_EQ(d.told.size(), 2u);
  EXPECT_EQ(d.told[1], "O dígito para esse número é:35"_cp.str());
}

TEST(IdentifiersDependants, ListedCpfIsTakenWithoutTheList) {
  Dependants d("");
  std::string cpf = "11144477735";
  EXPECT_TRUE(VERCPFDEPE(d.pick, d.tables, "I1_8", cpf, d.notify()));
  EXPECT_TRUE(d.told.empty());
  EXPECT_EQ(cpf, "11144477735");
  EXPECT_EQ(d.puts, (std::vector<std::pair<std::string, std::string>>{{"I1_1", "D"}}));
  EXPECT_FALSE(d.con->script_exhausted());  // no list was shown
}

TEST(IdentifiersDependants, UnlistedCpfIsToldAndTheListOpens) {
  // An alimony recipient's CPF in a dependant field: only dependants are listed.
  Dependants d("{Tick}{Down}{Enter}");
  std::string cpf = "52998224725";
  EXPECT_TRUE(VE_RELDEP(d.pick, d.tables, cpf, "M->CPFDEPEN", 1, d.notify()));
  ASSERT_EQ(d.told.size(), 1u);
  EXPECT_EQ(d.told[0], "CPF digitado não consta na relação dos dependentes"_cp.str());
  EXPECT_EQ(cpf, "12345671300");
  EXPECT_EQ(d.tables.selected(), 22);
  EXPECT_EQ(d.tables.area(kDependantsCopy).filter_text(), "");
}

TEST(IdentifiersDependants, EmptyCpfOpensTheListOfTheKind) {
  Dependants d("{Tick}{Enter}");
  std::string cpf;
  EXPECT_TRUE(VERCPFDEPE(d.pick, d.tables, "M->CPFALIEN", cpf, d.notify()));
  EXPECT_TRUE(d.told.empty());
  EXPECT_EQ(cpf, "52998224725");
  d.told.clear();
  std::string listed_elsewhere = "11144477735";  // a dependant, not a recipient
  Dependants e("{Tick}{Esc}");
  EXPECT_TRUE(VE_RELDEP(e.pick, e.tables, listed_elsewhere, "M->CPFALIEN", 2, e.notify()));
  ASSERT_EQ(e.told.size(), 1u);
  EXPECT_EQ(e.told[0], "CPF digitado não consta na relação dos alimentandos"_cp.str());
  EXPECT_EQ(listed_elsewhere, "11144477735");  // Esc keeps it
}

}  // namespace
}  // namespace tx::shell
