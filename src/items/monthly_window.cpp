// The monthly-values window.
#include "items/monthly_window.hpp"

#include "base/codepage.hpp"
#include "base/helpers.hpp"
#include "base/xbase.hpp"

namespace tx::items {

namespace {

constexpr std::string_view kAmount = "@Ez 9999,999.99";

Decimal in_dollars(Decimal amount, int month, const MonthRate& rate) {
  Decimal r = rate ? rate(month) : Decimal(0);
  if (r == Decimal(0)) return Decimal(0);
  return (amount / r).trunc(2);
}

void totals(Matrix& m) {
  for (int col = 2; col <= 3; ++col) {
    Decimal sum(0);
    for (int row = 1; row <= 12; ++row) sum += m.number(row, col);
    m.set_number(kMonthlyTotalRow, col, sum);
  }
}

}  // namespace

Matrix monthly_matrix(const std::array<Decimal, 12>& amounts, const MonthRate& rate) {
  Matrix m;
  m.headings = {" Mês "_cp.str(), "  REAL  ", "  DOLAR  "};
  m.pictures = {"@s10", std::string(kAmount), std::string(kAmount)};
  for (int month = 1; month <= 12; ++month) m.rows.push_back({PADR(NOME_MES(month), 10), "", ""});
  m.rows.push_back({PADR("Total", 10), "", ""});
  for (int month = 1; month <= 12; ++month) {
    Decimal a = amounts[static_cast<std::size_t>(month - 1)];
    m.set_number(month, 2, a);
    m.set_number(month, 3, in_dollars(a, month, rate));
  }
  totals(m);
  return m;
}

void monthly_recompute(Matrix& m, int row, int col, const MonthRate& rate) {
  if (col == 2 && row >= 1 && row <= 12) m.set_number(row, 3, in_dollars(m.number(row, 2), row, rate));
  totals(m);
}

MatrixDescriptor monthly_descriptor(MonthRate rate) {
  MatrixDescriptor d;
  d.code = 7;
  d.title = "Valores Mensais - Alt B busca valor";
  d.window = {6, 11, 20, 41};
  d.frame = 2;
  d.frozen = 1;
  d.refuse = [](const Matrix&, int row, int) {
    return row == kMonthlyTotalRow ? "Não é permitido inserir valor nesse campo."_cp.str() : std::string();
  };
  d.recompute = [rate](Matrix& m, int row, int col) { monthly_recompute(m, row, col, rate); };
  return d;
}

}  // namespace tx::items
