// Identifiers: check digits and punctuation of CPF (individual, 11 digits),
// CNPJ (legal entity, 14 digits), NIT (social-security number, 11 digits),
// voter title (12 or 13 digits) and declaration receipt numbers (10 + 2).
//
// Every check is a pure function returning an IdCheck: whether the text is
// accepted and, when it is refused, the lines of the OK box that tells the
// operator why (with the right check digits where they can be computed).
// The VAL_* forms are what entry fields call: the same check, with the
// message handed to `notify` (the screen's OK box; nothing when empty).
// Row and column are accepted for the callers and change nothing.
//
//   check_cpf(text, required, mode)   blank: accepted unless required; with
//                      mode 1 a required blank is accepted too and
//                      clear_name asks the caller to blank NOMECONTR (the
//                      taxpayer is then looked for by name). Fewer than 9
//                      digits: "incompleto". Eleven equal digits (000... to
//                      999...) are refused although their digits add up.
//   check_cgc(text, required)         CNPJ, 12 base digits + 2
//   check_nit(text)                   blank accepted; exactly 11 digits
//   check_cpfcgc(text, required)      CPF or CNPJ told apart by the
//                      punctuation ("999.999.999-99", "99.999.999/9999-99");
//                      a NIT written "999.99999.99-9" is checked as a NIT;
//                      plain 11 or 14 digits are a CPF or a CNPJ
//   check_titu(text, required)        voter title: sequence, state 01-28,
//                      two check digits (states 01 and 02 turn a 0 into 1)
//   cpf_check_digits(9 digits) cnpj_check_digits(12) nit_check_digit(10)
//   MODULO_11(digits)  one check digit ("" for ""); receipt_check_digits(10)
//   CONTAPONTO(text)   CPF / CNPJ punctuation (18 characters) when the text
//                      has none yet; POEPONTO(text, kind, payment code) the
//                      form the payment code asks for; TIRA_PONTO the digits
//
// Texts are code page 850; digits are checked on the text's digits only, so
// punctuated and plain forms give the same result.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tx::shell {

struct IdCheck {
  bool ok = true;
  std::vector<std::string> message;  // the OK box when refused
  bool clear_name = false;           // VAL_CPF mode 1 with a blank CPF
};

using IdNotify = std::function<void(const std::vector<std::string>&)>;

IdCheck check_cpf(std::string_view text, bool required, int mode = 0);
IdCheck check_cgc(std::string_view text, bool required);
IdCheck check_nit(std::string_view text);
IdCheck check_cpfcgc(std::string_view text, bool required);
IdCheck check_titu(std::string_view text, bool required);

bool VAL_CPF(std::string_view text, bool required, int row, int col, int mode, const IdNotify& notify,
             const std::function<void()>& clear_name = {});
bool VAL_CGC(std::string_view text, bool required, int row, int col, const IdNotify& notify);
bool VAL_NIT(std::string_view text, int row, int col, const IdNotify& notify);
bool CPFCGC(std::string_view text, bool required, int row, int col, const IdNotify& notify);
bool VAL_TITU(std::string_view text, bool required, int row, int col, const IdNotify& notify);

// Check digits of an all-digit base of the right length ("" otherwise).
std::string cpf_check_digits(std::string_view base9);
std::string cnpj_check_digits(std::string_view base12);
std::string nit_check_digit(std::string_view base10);
std::string MODULO_11(std::string_view digits);
std::string receipt_check_digits(std::string_view base10);

std::string TIRA_PONTO(std::string_view text);
std::string CONTAPONTO(std::string_view text);
std::string POEPONTO(std::string_view text, int kind, int payment_code);

// "999.999.999-99", "99.999.999/9999-99", "999.99999.99-9" of the digits.
std::string cpf_punctuated(std::string_view digits);
std::string cnpj_punctuated(std::string_view digits);
std::string nit_punctuated(std::string_view digits);

}  // namespace tx::shell
