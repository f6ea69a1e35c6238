// Check digits and punctuation of the identifiers typed in the program.
#include "shell/identifiers.hpp"

#include <algorithm>
#include <array>

#include "base/codepage.hpp"

namespace tx::shell {

namespace {

bool all_digits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int digit(char c) { return c - '0'; }

std::string trim(std::string_view s) {
  auto b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  auto e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

char at(std::string_view s, std::size_t pos1) { return pos1 >= 1 && pos1 <= s.size() ? s[pos1 - 1] : ' '; }

IdCheck accepted() { return {}; }
IdCheck refused(std::vector<std::string> lines) { return {false, std::move(lines), false}; }

// Weighted sum of digits against a weight list of the same length.
template <std::size_t N>
int weighted(std::string_view digits, const std::array<int, N>& w) {
  int s = 0;
  for (std::size_t i = 0; i < N && i < digits.size(); ++i) s += digit(digits[i]) * w[i];
  return s;
}

// CNPJ / NIT rule: r = sum mod 11; 0 when r < 2, else 11 - r.
char mod11_low_zero(int sum) {
  int r = sum % 11;
  return static_cast<char>('0' + (r < 2 ? 0 : 11 - r));
}

bool notify_result(const IdCheck& c, const IdNotify& notify) {
  if (!c.ok && notify) notify(c.message);
  return c.ok;
}

}  // namespace

// ---- punctuation ---------------------------------------------------------

std::string TIRA_PONTO(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c >= '0' && c <= '9') out += c;
  return out;
}

std::string cpf_punctuated(std::string_view d) {
  std::string s(d);
  s.resize(11, ' ');
  return s.substr(0, 3) + "." + s.substr(3, 3) + "." + s.substr(6, 3) + "-" + s.substr(9, 2);
}

std::string cnpj_punctuated(std::string_view d) {
  std::string s(d);
  s.resize(14, ' ');
  return s.substr(0, 2) + "." + s.substr(2, 3) + "." + s.substr(5, 3) + "/" + s.substr(8, 4) + "-" +
         s.substr(12, 2);
}

std::string nit_punctuated(std::string_view d) {
  std::string s(d);
  s.resize(11, ' ');
  return s.substr(0, 3) + "." + s.substr(3, 5) + "." + s.substr(8, 2) + "-" + s.substr(10, 1);
}

namespace {
bool already_punctuated(std::string_view t) {
  return at(t, 3) == '.' || at(t, 4) == '.' || at(t, 4) == ' ';
}
}  // namespace

std::string CONTAPONTO(std::string_view text) {
  if (already_punctuated(text)) return std::string(text);
  std::string t = trim(text);
  if (!all_digits(t)) return std::string(text);
  if (t.size() == 14) return cnpj_punctuated(t);
  if (t.size() == 11) return cpf_punctuated(t) + "    ";
  return std::string(text);
}

std::string POEPONTO(std::string_view text, int kind, int code) {
  if (kind != 1) return CONTAPONTO(text);
  if (already_punctuated(text)) return std::string(text);
  static constexpr int kCnpj[] = {1, 21, 26, 36, 37, 38, 40, 41, 42, 43, 98};
  static constexpr int kCpf[] = {9, 10, 11, 12, 13, 14, 15, 30, 31, 33, 34, 66, 76, 80, 81, 94};
  auto in = [code](const auto& list) { return std::find(std::begin(list), std::end(list), code) != std::end(list); };
  std::string d = TIRA_PONTO(text);
  if (in(kCnpj)) return cnpj_punctuated(d);
  if (in(kCpf)) return cpf_punctuated(d) + "    ";
  if (code == 50) return nit_punctuated(d) + "    ";
  return CONTAPONTO(text);
}

// ---- check digits ----------------------------------------------------------

std::string cpf_check_digits(std::string_view base) {
  if (base.size() != 9 || !all_digits(base)) return {};
  int s1 = 0, s2 = 0;
  for (int i = 1; i <= 9; ++i) {
    int d = digit(base[static_cast<std::size_t>(i - 1)]);
    s1 += d * i;
    s2 += d * (10 - i);
  }
  int c1 = s1 % 11;
  if (c1 == 10) {
    c1 = 0;
    s2 += 9;
  }
  int c2 = s2 % 11;
  if (c2 == 10) c2 = 0;
  return {static_cast<char>('0' + c1), static_cast<char>('0' + c2)};
}

std::string cnpj_check_digits(std::string_view base) {
  if (base.size() != 12 || !all_digits(base)) return {};
  static constexpr std::array<int, 12> w1 = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  static constexpr std::array<int, 12> w2 = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
  char c1 = mod11_low_zero(weighted(base, w1));
  char c2 = mod11_low_zero(weighted(base, w2) + 2 * digit(c1));
  return {c1, c2};
}

std::string nit_check_digit(std::string_view base) {
  if (base.size() != 10 || !all_digits(base)) return {};
  static constexpr std::array<int, 10> w = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  return {mod11_low_zero(weighted(base, w))};
}

std::string MODULO_11(std::string_view digits) {
  if (digits.empty()) return {};
  int n = static_cast<int>(digits.size());
  int sum = 0;
  for (int i = 0; i < n; ++i) sum += digit(digits[static_cast<std::size_t>(i)]) * (n + 1 - i);
  int d = 11 - sum % 11;
  if (d > 9) d = 0;
  return {static_cast<char>('0' + d)};
}

std::string receipt_check_digits(std::string_view base) {
  if (base.size() != 10 || !all_digits(base)) return {};
  std::string first = MODULO_11(base);
  return first + MODULO_11(std::string(base) + first);
}

// ---- checks ----------------------------------------------------------------

IdCheck check_cpf(std::string_view text, bool required, int mode) {
  std::string d = TIRA_PONTO(text);
  if (trim(text).empty()) {
    if (!required) return accepted();
    if (mode == 1) return {true, {}, true};
    return refused({"ATENÇÃO! CPF está incompleto."_cp});
  }
  if (d.size() < 9) return refused({"ATENÇÃO! CPF está incompleto."_cp});
  std::string right = cpf_check_digits(d.substr(0, 9));
  if (d.size() == 11 && std::all_of(d.begin(), d.end(), [&](char c) { return c == d[0]; })) {
    // The official program refuses these though their digits add up.
    return refused({"ATENÇÃO! CPF "_cp + cpf_punctuated(d) + " está incorreto. "_cp,
                    "CPF com todos os dígitos iguais não é válido."_cp});
  }
  if (d.size() == 11 && d.substr(9) == right) return accepted();
  return refused({"ATENÇÃO! CPF "_cp + cpf_punctuated(d.substr(0, 11)) + " está incorreto. "_cp,
                  "O dígito para esse número é:"_cp + right});
}

IdCheck check_cgc(std::string_view text, bool required) {
  std::string d = TIRA_PONTO(text);
  if (trim(text).empty()) {
    if (!required) return accepted();
    return refused({"ATENÇÃO! CNPJ está incompleto."_cp});
  }
  if (d.size() < 12) return refused({"ATENÇÃO! CNPJ está incompleto."_cp});
  std::string right = cnpj_check_digits(d.substr(0, 12));
  if (d.size() == 14 && d.substr(12) == right) return accepted();
  return refused({"ATENÇÃO! CNPJ "_cp + cnpj_punctuated(d.substr(0, 14)) + " está incorreto. "_cp,
                  "O dígito para esse número é:"_cp + right});
}

IdCheck check_nit(std::string_view text) {
  if (trim(text).empty()) return accepted();
  std::string d = TIRA_PONTO(text);
  if (d.size() != 11) return refused({"ATENÇÃO! O NIT do empregado está errado "_cp});
  if (nit_check_digit(d.substr(0, 10)) == d.substr(10)) return accepted();
  return refused({"ATENÇÃO! NIT está incorreto. "_cp, "Se estiver digitado CPF use seta direita"_cp,
                  "até a última coluna e digite lá. "_cp});
}

IdCheck check_cpfcgc(std::string_view text, bool required) {
  if (trim(text).empty()) {
    if (!required) return accepted();
    return refused({"ATENÇÃO! CPF está incompleto."_cp});
  }
  // A NIT written with its punctuation is checked as a NIT.
  if (at(text, 10) == '.') return check_nit(text);
  std::string d = TIRA_PONTO(text);
  std::string plain = trim(text);
  bool cpf = at(text, 4) == '.' || at(text, 4) == ' ';
  bool cnpj = !cpf && at(text, 3) == '.';
  if (!cpf && !cnpj && all_digits(plain)) {
    cpf = plain.size() == 11;
    cnpj = plain.size() == 14;
  }
  if (cpf) return check_cpf(d, required);
  if (cnpj) return check_cgc(d, required);
  return refused({" Digite o CPF/CNPJ com número correto "_cp, "de dígitos, 11 para CPF e 14 para CNPJ,"_cp,
                  "ou coloque os separadores no lugar correto."_cp, "CPF=nnn.nnn.nnn-nn CNPJ=nn.nnn.nnn/nnnn-nn "});
}

IdCheck check_titu(std::string_view text, bool required) {
  if (trim(text).empty()) {
    if (!required) return accepted();
    return refused({"ATENÇÃO! Título de eleitor está incompleto."_cp});
  }
  std::string d = TIRA_PONTO(text);
  // Thirteen positions hold a twelve-digit title behind a leading zero.
  if (d.size() == 13 && d[0] == '0') d.erase(0, 1);
  auto wrong = [] { return refused({"ATENÇÃO! Título de eleitor incorreto."_cp, "Confira o número digitado."_cp}); };
  if (d.size() != 12 && d.size() != 13) return wrong();
  std::size_t n = d.size();
  std::string seq = d.substr(0, n - 4);
  int uf = digit(d[n - 4]) * 10 + digit(d[n - 3]);
  if (uf < 1 || uf > 28) return wrong();
  auto dv = [uf](int sum) {
    int r = sum % 11;
    if (r == 10) r = 0;
    if (r == 0 && (uf == 1 || uf == 2)) r = 1;
    return r;
  };
  int s1 = 0;
  for (std::size_t i = 0; i < seq.size(); ++i) s1 += digit(seq[i]) * static_cast<int>(i + 2);
  int c1 = dv(s1);
  int c2 = dv(digit(d[n - 4]) * 7 + digit(d[n - 3]) * 8 + c1 * 9);
  if (digit(d[n - 2]) == c1 && digit(d[n - 1]) == c2) return accepted();
  return wrong();
}

// ---- entry-field forms -------------------------------------------------------

bool VAL_CPF(std::string_view text, bool required, int, int, int mode, const IdNotify& notify,
             const std::function<void()>& clear_name) {
  IdCheck c = check_cpf(text, required, mode);
  if (c.clear_name && clear_name) clear_name();
  return notify_result(c, notify);
}

bool VAL_CGC(std::string_view text, bool required, int, int, const IdNotify& notify) {
  return notify_result(check_cgc(text, required), notify);
}

bool VAL_NIT(std::string_view text, int, int, const IdNotify& notify) {
  return notify_result(check_nit(text), notify);
}

bool CPFCGC(std::string_view text, bool required, int, int, const IdNotify& notify) {
  return notify_result(check_cpfcgc(text, required), notify);
}

bool VAL_TITU(std::string_view text, bool required, int, int, const IdNotify& notify) {
  return notify_result(check_titu(text, required), notify);
}

}  // namespace tx::shell
