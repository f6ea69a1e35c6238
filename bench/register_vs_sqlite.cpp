// The taxpayer register (102 fields, indexes on CPF, name and status) at
// 100,000 records: append with index maintenance, seek by CPF and a walk in
// CPF order reading each record's name, ours against SQLite doing the same work in the same run.
//
//   build/bench/bench_register_vs_sqlite [--records N]
//
// Prints Google Benchmark's table, then one line per workload with the
// ratio ours / SQLite (below 1: we are faster).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "storage/layout.hpp"
#include "storage/workarea.hpp"

using namespace tx;
using namespace tx::storage;
namespace fs = std::filesystem;

namespace {

int g_records = 100000;
const int kSeeks = 10000;
fs::path g_dir;

struct Row {
  std::string cpf, name;
  int status;
};

const std::vector<Row>& rows() {
  static std::vector<Row> r = [] {
    std::vector<Row> v;
    std::mt19937_64 rng(42);
    std::map<std::string, bool> seen;
    while (static_cast<int>(v.size()) < g_records) {
      char cpf[16];
      std::snprintf(cpf, sizeof cpf, "%011llu", static_cast<unsigned long long>(rng() % 100000000000ull));
      if (seen[cpf]) continue;
      seen[cpf] = true;
      v.push_back({cpf, "CONTRIBUINTE " + std::to_string(rng() % 1000000), static_cast<int>(rng() % 12)});
    }
    return v;
  }();
  return r;
}

std::vector<std::string> seek_keys() {
  std::mt19937 rng(7);
  std::vector<std::string> k;
  for (int i = 0; i < kSeeks; ++i) k.push_back(rows()[rng() % rows().size()].cpf);
  return k;
}

// ---- ours ------------------------------------------------------------------

std::string our_path(const char* n) { return (g_dir / n).string(); }

void open_ours(WorkArea& wa) {
  wa.open(our_path("IMP0914.DBF"), DbfTable::Mode::Exclusive, "IMP0914");
  wa.add_order(our_path("IMP0914.CDX"), "CPF");
  wa.add_order(our_path("IMP0914B.CDX"), "UPPER(NOMECONTR)");
  wa.add_order(our_path("IMP0914C.CDX"), "ESTATUS");
  wa.set_order(1);
}

void ours_append(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    for (const char* f : {"IMP0914.DBF", "IMP0914.CDX", "IMP0914B.CDX", "IMP0914C.CDX"}) fs::remove(g_dir / f);
    DbfTable::create(our_path("IMP0914.DBF"), *table_layout(9));
    WorkArea wa(9);
    open_ours(wa);
    state.ResumeTiming();
    for (const Row& r : rows()) {
      wa.append_blank();
      wa.replace_text("CPF", r.cpf);
      wa.replace_text("NOMECONTR", r.name);
      wa.replace_number("ESTATUS", r.status);
    }
    wa.close();
  }
  state.SetItemsProcessed(state.iterations() * g_records);
}

void ours_seek(benchmark::State& state) {
  WorkArea wa(9);
  open_ours(wa);
  auto keys = seek_keys();
  std::size_t found = 0;
  for (auto _ : state) {
    for (const auto& k : keys) {
      wa.seek(k);
      found += wa.found() && wa.get_text("NOMECONTR").size() > 0;
    }
  }
  if (found != keys.size() * state.iterations()) state.SkipWithError("a key was not found");
  state.SetItemsProcessed(state.iterations() * kSeeks);
}

void ours_skip(benchmark::State& state) {
  WorkArea wa(9);
  open_ours(wa);
  long n = 0;
  for (auto _ : state) {
    n = 0;
    for (wa.go_top(); !wa.eof(); wa.skip()) n += wa.get_text("NOMECONTR").size() > 0;
  }
  if (n != g_records) state.SkipWithError("the walk missed records");
  state.SetItemsProcessed(state.iterations() * g_records);
}

// ---- SQLite -----------------------------------------------------------------

std::string sql_create() {
  std::string s = "CREATE TABLE imp09(";
  bool first = true;
  for (const auto& f : *table_layout(9)) {
    if (!first) s += ",";
    first = false;
    s += f.name + (f.type == 'N' ? " NUMERIC" : " TEXT");
  }
  return s + ")";
}

sqlite3* open_sqlite() {
  sqlite3* db = nullptr;
  sqlite3_open((g_dir / "imp09.sqlite").c_str(), &db);
  return db;
}

void sqlite_append(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(g_dir / "imp09.sqlite");
    sqlite3* db = open_sqlite();
    sqlite3_exec(db, sql_create().c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "CREATE INDEX imp09_cpf ON imp09(CPF)", nullptr, nullptr, nullptr);
    // Every column gets a value, as every field of a new record is written.
    std::string ins = "INSERT INTO imp09 VALUES(";
    const auto& layout = *table_layout(9);
    for (std::size_t i = 0; i < layout.size(); ++i) ins += i ? ",?" : "?";
    ins += ")";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, ins.c_str(), -1, &st, nullptr);
    int cpf_col = 0, name_col = 0, status_col = 0;
    for (std::size_t i = 0; i < layout.size(); ++i) {
      if (layout[i].name == "CPF") cpf_col = static_cast<int>(i) + 1;
      if (layout[i].name == "NOMECONTR") name_col = static_cast<int>(i) + 1;
      if (layout[i].name == "ESTATUS") status_col = static_cast<int>(i) + 1;
    }
    state.ResumeTiming();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const Row& r : rows()) {
      for (std::size_t i = 0; i < layout.size(); ++i) {
        int c = static_cast<int>(i) + 1;
        if (c == cpf_col) sqlite3_bind_text(st, c, r.cpf.c_str(), -1, SQLITE_STATIC);
        else if (c == name_col) sqlite3_bind_text(st, c, r.name.c_str(), -1, SQLITE_STATIC);
        else if (c == status_col) sqlite3_bind_int(st, c, r.status);
        else if (layout[i].type == 'N') sqlite3_bind_int(st, c, 0);
        else sqlite3_bind_text(st, c, "", 0, SQLITE_STATIC);
      }
      sqlite3_step(st);
      sqlite3_reset(st);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(st);
    sqlite3_close(db);
  }
  state.SetItemsProcessed(state.iterations() * g_records);
}

void sqlite_seek(benchmark::State& state) {
  sqlite3* db = open_sqlite();
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT NOMECONTR FROM imp09 WHERE CPF = ?", -1, &st, nullptr);
  auto keys = seek_keys();
  std::size_t found = 0;
  for (auto _ : state) {
    for (const auto& k : keys) {
      sqlite3_bind_text(st, 1, k.c_str(), -1, SQLITE_STATIC);
      if (sqlite3_step(st) == SQLITE_ROW) found += sqlite3_column_bytes(st, 0) > 0;
      sqlite3_reset(st);
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  if (found != keys.size() * state.iterations()) state.SkipWithError("a key was not found");
  state.SetItemsProcessed(state.iterations() * kSeeks);
}

void sqlite_skip(benchmark::State& state) {
  sqlite3* db = open_sqlite();
  sqlite3_stmt* st = nullptr;
  // A walk positions on each record, so the row itself is read, not only
  // the index.
  sqlite3_prepare_v2(db, "SELECT NOMECONTR FROM imp09 ORDER BY CPF", -1, &st, nullptr);
  long n = 0;
  for (auto _ : state) {
    n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) n += sqlite3_column_bytes(st, 0) > 0;
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  if (n != g_records) state.SkipWithError("the walk missed records");
  state.SetItemsProcessed(state.iterations() * g_records);
}

// Keeps each run's time per iteration to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> seconds;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs)
      if (!r.error_occurred) {
        std::string name = r.benchmark_name();
        seconds[name.substr(0, name.find("/iterations"))] = r.GetAdjustedRealTime();
      }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--records") == 0) g_records = std::atoi(argv[i + 1]);
  g_dir = fs::temp_directory_path() / ("tx_bench_" + std::to_string(::getpid()));
  fs::create_directories(g_dir);
  rows();  // generated before anything is timed
  // Appends first: they leave the files the seeks and walks read.
  benchmark::RegisterBenchmark("append/ours", ours_append)->Iterations(1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("append/sqlite", sqlite_append)->Iterations(1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("seek/ours", ours_seek)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("seek/sqlite", sqlite_seek)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("skip/ours", ours_skip)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("skip/sqlite", sqlite_skip)->Unit(benchmark::kMillisecond);
  std::vector<char*> args{argv[0]};
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--records") == 0) ++i; else args.push_back(argv[i]);
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  RatioReporter rep;
  benchmark::RunSpecifiedBenchmarks(&rep);
  std::printf("\nrecords: %d\n", g_records);
  for (const char* w : {"append", "seek", "skip"}) {
    double a = rep.seconds[std::string(w) + "/ours"], b = rep.seconds[std::string(w) + "/sqlite"];
    if (a > 0 && b > 0) std::printf("%-7s ours/sqlite = %.2f\n", w, a / b);
  }
  fs::remove_all(g_dir);
  return 0;
}
