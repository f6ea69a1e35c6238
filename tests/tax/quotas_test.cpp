// Quotas of the balance to pay.
#include <gtest/gtest.h>

#include <numeric>

#include "tax/quotas.hpp"
#include "tax_test_support.hpp"

using namespace tx;
using namespace tx::tax;
using namespace tx::tax::testing;

TEST(Quotas, NumberValueAndRemainder) {
  struct Case {
    const char* what;
    const char* balance;
    int chosen;
    int number;
    const char* each;   // I13_37
    const char* first;  // the first quota, carrying the cents left over
  };
  const Case cases[] = {
      {"below 50: one quota", "49.99", 0, 1, "49.99", "49.99"},
      {"100 allows 2; 8 chosen fall back to 2", "100", 8, 2, "50", "50"},
      {"1000 in 3: 333.33 cut, the first 1000 - 666.66", "1000", 3, 3, "333.33", "333.34"},
      {"500 and no choice: the most allowed, 8", "500", 0, 8, "62.50", "62.50"},
      {"a large balance is capped at 8", "10000", 0, 8, "1250", "1250"},
      {"399.99 allows 7: 57.1414 cut to 57.14, first 399.99 - 6 x 57.14", "399.99", 8, 7, "57.14",
       "57.15"},
      {"a choice within the maximum stays", "10000", 5, 5, "2000", "2000"},
      {"balance to receive: no quotas", "0", 3, 0, "0", nullptr},
  };
  for (const auto& c : cases) {
    QuotaEntrada in;
    in.I13_36 = D(c.balance);
    in.QTD_QUOTA = c.chosen;
    in.hoje = dt(20, 3, 2014);
    QuotaSaida r = FQTD_QUOTA(in);
    EXPECT_EQ(r.QTD_QUOTA, c.number) << c.what;
    EXPECT_EQ(r.I13_37, D(c.each)) << c.what;
    ASSERT_EQ(r.quotas.size(), static_cast<std::size_t>(c.number)) << c.what;
    if (c.first) {
      EXPECT_EQ(r.quotas.front(), D(c.first)) << c.what;
      EXPECT_EQ(std::accumulate(r.quotas.begin(), r.quotas.end(), Decimal()), D(c.balance))
          << c.what;
    }
  }
}

TEST(Quotas, SingleQuotaCasesAndAutomaticDebit) {
  struct Case {
    const char* what;
    const char* balance;
    int chosen;
    bool estate_with_date, departure;
    Date today;
    int number;
    bool notice;
    const char* debit;
  };
  const Case cases[] = {
      {"one quota before 01/04/2014 keeps the debit", "80", 0, false, false, dt(20, 3, 2014), 1,
       false, "S"},
      {"one quota on 01/04/2014 still keeps it", "80", 0, false, false, dt(1, 4, 2014), 1, false,
       "S"},
      {"one quota after 01/04/2014 loses it", "80", 0, false, false, dt(2, 4, 2014), 1, false, ""},
      {"several quotas keep it", "800", 4, false, false, dt(25, 4, 2014), 4, false, "S"},
      {"final estate with its date: 4 chosen become 1, with the notice", "8000", 4, true, false,
       dt(20, 3, 2014), 1, true, "S"},
      {"departure: always one quota", "8000", 5, false, true, dt(20, 3, 2014), 1, false, "S"},
      {"departure after 01/04/2014: one quota, no debit", "8000", 0, false, true,
       dt(20, 4, 2014), 1, false, ""},
      {"nothing to pay: no debit", "0", 0, false, false, dt(20, 3, 2014), 0, false, ""},
  };
  for (const auto& c : cases) {
    QuotaEntrada in;
    in.I13_36 = D(c.balance);
    in.QTD_QUOTA = c.chosen;
    in.DEBITAUT = "S";
    in.final_espolio_com_data = c.estate_with_date;
    in.saida = c.departure;
    in.hoje = c.today;
    QuotaSaida r = FQTD_QUOTA(in);
    EXPECT_EQ(r.QTD_QUOTA, c.number) << c.what;
    EXPECT_EQ(r.aviso_espolio, c.notice) << c.what;
    EXPECT_EQ(r.DEBITAUT, c.debit) << c.what;
    if (c.number == 1) {
      EXPECT_EQ(r.I13_37, D(c.balance)) << c.what;
    }
  }
}
