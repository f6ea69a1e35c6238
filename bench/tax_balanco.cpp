// The whole tax calculation (BALANCO) of one rich declaration: 50 income
// lines, 100 payments, 5 dependants and twelve carnê-leão months, against
// SQLite gathering the same item and payment sums of that declaration in the
// same run (the part of the work a table-query implementation would do).
//
//   build/bench/bench_tax_balanco
//
// Prints Google Benchmark's table (repeated runs, aggregates only), then the
// median time of each and the ratio ours / SQLite of the medians.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tax/balanco.hpp"

using namespace tx;
using namespace tx::tax;

namespace {

Decimal money(long cents) { return Decimal::from_units(cents, 2); }

const Declaracao& rich() {
  static const Declaracao d = [] {
    Declaracao r;
    r.USAPADRAO = "N";
    r.NASCIMENTO = Date::ymd(1950, 5, 10);
    r.QTD_QUOTA = 4;
    for (int k = 0; k < 5; ++k) {
      Dependente dep;
      dep.CODIDEPEN = k < 4 ? 3 : 98;
      dep.DATADEPEN = Date::ymd(2000 + k, 3, 1);
      dep.CPFDEPEN = std::to_string(10000000000LL + k);
      r.dependentes.push_back(dep);
    }
    const char* kinds[] = {"J", "D", "A", "F", "E", "L", "P", "I"};
    for (int i = 0; i < 50; ++i) {
      ItemRendimento it;
      it.I1_1 = kinds[i % 8];
      const bool dep = it.I1_1 == "D" || (i % 5 == 0 && it.I1_1 != "J");
      it.I1_11 = dep ? "N" : "S";
      it.I1_8 = dep ? r.dependentes[static_cast<std::size_t>(i % 4)].CPFDEPEN : "";
      it.TIPOCR = i % 2 ? "N" : "S";
      it.I1_4 = money(1500000 + 37 * i);
      it.I1_5 = money(120000 + i);
      it.I1_6 = money(50000);
      it.I1_7 = money(90000);
      it.I1_15 = money(1000 * i);
      it.I1_20 = money(3000);
      for (std::size_t m = 0; m < 12; ++m) it.I1_4mm[m] = money(100000 + 1000 * static_cast<long>(m) + i);
      r.rendimentos.push_back(it);
    }
    for (int i = 0; i < 100; ++i) {
      Pagamento p;
      const int codes[] = {1, 2, 10, 12, 30, 33, 36, 37, 39, 40, 41, 45, 46, 50, 51, 70, 99};
      p.I6_3 = codes[i % 17];
      p.I6_4 = money(25000 + 113 * i);
      p.I6_5 = p.I6_3 == 10 ? money(1000) : Decimal();
      p.I6_6 = i % 6;
      for (std::size_t m = 0; m < 12; ++m) p.I6_4mm[m] = p.I6_4 / Decimal(12);
      r.pagamentos.push_back(p);
    }
    r.I13_32 = money(50000);
    return r;
  }();
  return d;
}

void ours_balanco(benchmark::State& state) {
  const Declaracao& d = rich();
  const Date today = Date::ymd(2014, 3, 20);
  Decimal sink;
  for (auto _ : state) {
    Calculo c = BALANCO(d, today);
    sink += c.totais.IMPPGRE;
    benchmark::DoNotOptimize(sink);
  }
}

// The same declaration's items and payments in SQLite, with the sums the
// calculation gathers computed by one grouped query each.
void sqlite_sums(benchmark::State& state) {
  const Declaracao& d = rich();
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db,
               "CREATE TABLE imp02(CPF TEXT, I1_1 TEXT, I1_11 TEXT, I1_8 TEXT, TIPOCR TEXT,"
               " I1_4 INTEGER, I1_5 INTEGER, I1_6 INTEGER, I1_7 INTEGER, I1_15 INTEGER,"
               " I1_20 INTEGER);"
               "CREATE TABLE imp06(CPF TEXT, I6_3 INTEGER, I6_4 INTEGER, I6_5 INTEGER,"
               " I6_6 INTEGER);",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* ins = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO imp02 VALUES('1',?,?,?,?,?,?,?,?,?,?)", -1, &ins, nullptr);
  auto cents = [](Decimal v) { return static_cast<sqlite3_int64>((v * Decimal(100)).to_long()); };
  for (const auto& it : d.rendimentos) {
    sqlite3_bind_text(ins, 1, it.I1_1.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(ins, 2, it.I1_11.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(ins, 3, it.I1_8.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(ins, 4, it.TIPOCR.c_str(), -1, SQLITE_STATIC);
    const Decimal v[] = {it.I1_4, it.I1_5, it.I1_6, it.I1_7, it.I1_15, it.I1_20};
    for (int k = 0; k < 6; ++k) sqlite3_bind_int64(ins, 5 + k, cents(v[k]));
    sqlite3_step(ins);
    sqlite3_reset(ins);
  }
  sqlite3_finalize(ins);
  sqlite3_prepare_v2(db, "INSERT INTO imp06 VALUES('1',?,?,?,?)", -1, &ins, nullptr);
  for (const auto& p : d.pagamentos) {
    sqlite3_bind_int(ins, 1, p.I6_3);
    sqlite3_bind_int64(ins, 2, cents(p.I6_4));
    sqlite3_bind_int64(ins, 3, cents(p.I6_5));
    sqlite3_bind_int(ins, 4, p.I6_6);
    sqlite3_step(ins);
    sqlite3_reset(ins);
  }
  sqlite3_finalize(ins);
  sqlite3_stmt* items = nullptr;
  sqlite3_stmt* pays = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT I1_1, I1_11, TIPOCR, SUM(I1_4), SUM(I1_5), SUM(I1_6), SUM(I1_7),"
                     " SUM(I1_15), SUM(I1_20) FROM imp02 WHERE CPF='1' GROUP BY I1_1, I1_11, TIPOCR",
                     -1, &items, nullptr);
  sqlite3_prepare_v2(db,
                     "SELECT I6_3, I6_6, SUM(I6_4), SUM(I6_5) FROM imp06 WHERE CPF='1'"
                     " GROUP BY I6_3, I6_6",
                     -1, &pays, nullptr);
  sqlite3_int64 sink = 0;
  for (auto _ : state) {
    for (sqlite3_stmt* st : {items, pays}) {
      while (sqlite3_step(st) == SQLITE_ROW) sink += sqlite3_column_int64(st, 3);
      sqlite3_reset(st);
    }
    benchmark::DoNotOptimize(sink);
  }
  sqlite3_finalize(items);
  sqlite3_finalize(pays);
  sqlite3_close(db);
}

// Keeps each benchmark's median time per iteration.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> median;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs)
      if (!r.error_occurred && r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        median[r.run_name.function_name] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  rich();  // built before anything is timed
  benchmark::RegisterBenchmark("balanco/ours", ours_balanco)
      ->Repetitions(15)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("balanco/sqlite", sqlite_sums)
      ->Repetitions(15)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  MedianReporter rep;
  benchmark::RunSpecifiedBenchmarks(&rep);
  const double a = rep.median["balanco/ours"], b = rep.median["balanco/sqlite"];
  std::printf("\nmedian BALANCO: %.2f us   median SQLite sums: %.2f us\n", a, b);
  if (a > 0 && b > 0) std::printf("balanco ours/sqlite = %.2f\n", a / b);
  return 0;
}
