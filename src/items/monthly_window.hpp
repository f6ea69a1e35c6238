// The monthly-values window (list 7): a matrix of thirteen rows - the
// twelve months and their total - with the month's name, the amount in
// reais and the amount in US dollars at the month's rate.
//
//   monthly_matrix(amounts, rate)  the matrix prefilled with the amounts;
//                                  the dollar column is amount / rate of the
//                                  month cut to 2 decimals (0 when the rate
//                                  is unknown), row 13 the totals
//   monthly_descriptor(rate)       its list: one frozen column, the total
//                                  row refused, every edit recomputed
//   monthly_recompute(m, row, col, rate)  an edit of a month's amount sets
//                                  its dollar amount; the totals are summed
#pragma once

#include <array>
#include <functional>

#include "items/matrix.hpp"

namespace tx::items {

using MonthRate = std::function<Decimal(int month)>;

inline constexpr int kMonthlyTotalRow = 13;

Matrix monthly_matrix(const std::array<Decimal, 12>& amounts, const MonthRate& rate);
MatrixDescriptor monthly_descriptor(MonthRate rate);
void monthly_recompute(Matrix& m, int row, int col, const MonthRate& rate);

}  // namespace tx::items
