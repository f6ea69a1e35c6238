#include "storage/workarea.hpp"

#include <sys/stat.h>

#include <functional>

#include "base/codepage.hpp"

namespace tx::storage {

namespace {
DbfStatus fail(DbfCode c, std::string msg) { return DbfStatus::fail(c, std::move(msg)); }
// Index key type of an expression: logical keys are stored as "T"/"F" text.
char key_type_of(const Expr& e) { return e.type() == 'L' ? 'C' : e.type(); }
}  // namespace

WorkArea::~WorkArea() { close(); }

DbfStatus WorkArea::not_open() {
  return fail(DbfCode::Invalid, "Área de trabalho não está em uso"_cp.str());
}

// Index errors are exceptions inside the index code; here they become the
// operator's message.
template <class Fn>
DbfStatus WorkArea::guard(const char* what, Fn&& fn) {
  try {
    return fn();
  } catch (const CdxError& e) {
    return fail(DbfCode::Damaged, std::string(e.what()));
  } catch (const ExprError& e) {
    return fail(DbfCode::Invalid, std::string(e.what()));
  } catch (const std::exception& e) {
    return fail(DbfCode::IoError, std::string(what) + ": " + e.what());
  }
}

DbfStatus WorkArea::open(const std::string& path, DbfTable::Mode mode, std::string alias) {
  close();
  DbfStatus st = table_.open(path, mode);
  if (!st) return st;
  alias_ = std::move(alias);
  bof_ = found_ = dirty_ = is_new_ = changed_since_open_ = false;
  order_ = 0;
  return go_top();
}

std::uint64_t WorkArea::table_mtime() const {
  struct stat sb {};
  if (::stat(table_.path().c_str(), &sb) != 0) return 0;
  return static_cast<std::uint64_t>(sb.st_mtim.tv_sec) * 1000000000ull +
         static_cast<std::uint64_t>(sb.st_mtim.tv_nsec);
}

// The stamp says: this index agrees with the table as it is now on disk.
void WorkArea::write_stamps() {
  std::uint32_t n = table_.record_count();
  std::uint64_t m = table_mtime();
  for (auto& o : orders_) {
    try {
      if (o->index) o->index->set_stamp(n, m);
    } catch (const std::exception&) {
      // A stamp that cannot be written only makes the next opening rebuild.
    }
  }
}

DbfStatus WorkArea::close() {
  if (!used()) {
    orders_.clear();
    return DbfStatus::ok();
  }
  DbfStatus st = sync();
  DbfStatus cst = table_.close();
  if (st && !cst) st = cst;
  if (changed_since_open_) write_stamps();
  close_orders();
  alias_.clear();
  filter_.reset();
  filter_text_.clear();
  return st;
}

void WorkArea::close_orders() {
  for (auto& o : orders_) {
    try {
      if (o->index) o->index->close();
    } catch (const std::exception&) {
    }
  }
  orders_.clear();
  order_ = 0;
}

const IndexOrder* WorkArea::order_at(int k) const {
  if (k < 1 || k > order_count()) return nullptr;
  return orders_[static_cast<std::size_t>(k - 1)].get();
}

std::string WorkArea::key_of(int k) const {
  const IndexOrder* o = order_at(k);
  if (!o) return {};
  return o->index->normalize(o->expr.key(table_));
}

// ---- indexes ----------------------------------------------------------------

DbfStatus WorkArea::build_index(IndexOrder& o) {
  return guard("Criando o índice", [&]() -> DbfStatus {
    if (o.index) o.index->close();
    o.index.reset();
    std::uint32_t n = table_.record_count();
    CdxBuilder b(o.path, o.expr.text(), key_type_of(o.expr), o.expr.width());
    std::string key;
    for (std::uint32_t r = 1; r <= n; ++r) {
      DbfStatus st = table_.go(r);
      if (!st) return st;
      o.expr.key(table_, key);
      b.add(key, r);
    }
    b.finish(n, table_mtime());
    o.index.emplace(CdxIndex::open(o.path, table_.exclusive() ? CdxSharing::Exclusive : CdxSharing::Shared,
                                   key_type_of(o.expr)));
    return DbfStatus::ok();
  });
}

DbfStatus WorkArea::add_order(const std::string& index_path, std::string_view key, bool rebuild) {
  if (!used()) return not_open();
  if (orders_.size() >= 3) return fail(DbfCode::Invalid, "Mais de três índices numa tabela");
  DbfStatus st = sync();
  if (!st) return st;
  std::uint32_t here = table_.recno();
  std::string err;
  auto expr = Expr::try_compile(key, table_, &err);
  if (!expr) return fail(DbfCode::Invalid, err);
  char kt = key_type_of(*expr);
  auto sharing = table_.exclusive() ? CdxSharing::Exclusive : CdxSharing::Shared;

  // An existing index is used when it is sound, built on this expression,
  // and - when this terminal can tell - up to date with the table.
  bool need_build = rebuild;
  std::optional<CdxIndex> idx;
  if (!need_build) {
    struct stat sb {};
    if (::stat(index_path.c_str(), &sb) != 0) {
      need_build = true;
    } else {
      try {
        idx.emplace(CdxIndex::open(index_path, sharing, kt));
        std::string want = expr->text(), have = idx->expression();
        auto up = [](std::string s) {
          std::string r;
          for (char c : s) if (c != ' ') r += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
          return r;
        };
        if (up(want) != up(have) || idx->key_len() != std::min(expr->width(), cdx::kMaxKeyLen)) {
          need_build = true;
        } else if (table_.exclusive()) {
          CdxStamp s = idx->stamp();
          if (!s.present || s.records != table_.record_count() || s.updates != table_mtime())
            need_build = true;
        } else if (idx->count() != 0 && table_.record_count() == 0) {
          need_build = true;
        }
      } catch (const std::exception&) {
        need_build = true;  // damaged: never trusted
      }
    }
  }
  auto o = std::make_unique<IndexOrder>(IndexOrder{index_path, std::move(*expr), std::move(idx)});
  if (need_build) {
    st = build_index(*o);
    if (!st) return st;
  }
  orders_.push_back(std::move(o));
  if (order_ == 0 && orders_.size() == 1) order_ = 1;
  if (here > 0 && here <= table_.record_count()) return go(here);
  return go_top();
}

DbfStatus WorkArea::rebuild_order(int k) {
  if (!used()) return not_open();
  if (k < 1 || k > order_count()) return fail(DbfCode::Invalid, "Índice inexistente"_cp.str());
  DbfStatus st = sync();
  if (!st) return st;
  std::uint32_t here = table_.recno();
  st = build_index(*orders_[static_cast<std::size_t>(k - 1)]);
  if (!st) return st;
  return here ? go(here) : go_top();
}

DbfStatus WorkArea::set_order(int k) {
  if (!used()) return not_open();
  if (k < 0 || k > order_count()) return fail(DbfCode::Invalid, "Índice inexistente"_cp.str());
  DbfStatus st = sync();
  if (!st) return st;
  order_ = k;
  return DbfStatus::ok();
}

DbfStatus WorkArea::set_filter(std::string_view text) {
  if (!used()) return not_open();
  std::string err;
  auto e = Expr::try_compile(text, table_, &err);
  if (!e) return fail(DbfCode::Invalid, err);
  if (e->type() != 'L') return fail(DbfCode::Invalid, "Filtro não é uma condição: "_cp + std::string(text));
  filter_ = std::move(*e);
  filter_text_ = std::string(text);
  return DbfStatus::ok();
}

// ---- movement ---------------------------------------------------------------

std::uint32_t WorkArea::recno() const {
  if (!used()) return 0;
  return table_.recno();  // at end of file: the record count + 1
}

std::uint32_t WorkArea::reccount() { return used() ? table_.record_count() : 0; }

bool WorkArea::hidden() const {
  if (table_.eof()) return false;
  if (hide_deleted_ && table_.deleted()) return true;
  if (filter_) return !filter_->eval(table_).logical;
  return false;
}

DbfStatus WorkArea::position_index() {
  if (order_ == 0 || table_.eof()) return DbfStatus::ok();
  IndexOrder& o = *orders_[static_cast<std::size_t>(order_ - 1)];
  return guard("Índice", [&]() -> DbfStatus {
    if (o.index->recno() == table_.recno()) return DbfStatus::ok();
    o.index->go_to(o.index->normalize(o.expr.key(table_)), table_.recno());
    return DbfStatus::ok();
  });
}

// One record forward (dir > 0) or back in the current order; end of file
// past the last, bof before the first (staying on the first).
DbfStatus WorkArea::step(int dir) {
  if (order_ == 0) {
    std::uint32_t n = table_.record_count();
    if (dir > 0) {
      if (table_.eof()) return DbfStatus::ok();
      std::uint32_t r = table_.recno() + 1;
      return r > n ? table_.go_eof() : table_.go(r);
    }
    std::uint32_t r = table_.eof() ? n : table_.recno() - 1;
    if (r == 0) { bof_ = true; return DbfStatus::ok(); }
    return table_.go(r);
  }
  IndexOrder& o = *orders_[static_cast<std::size_t>(order_ - 1)];
  return guard("Índice", [&]() -> DbfStatus {
    std::uint32_t r;
    if (table_.eof()) {
      if (dir > 0) return DbfStatus::ok();
      r = o.index->last();
      if (r == 0) { bof_ = true; return DbfStatus::ok(); }
    } else {
      DbfStatus st = position_index();
      if (!st) return st;
      r = dir > 0 ? o.index->next() : o.index->prev();
      if (r == 0) {
        if (dir > 0) return table_.go_eof();
        bof_ = true;
        o.index->go_to(o.index->normalize(o.expr.key(table_)), table_.recno());
        return DbfStatus::ok();
      }
    }
    return table_.go(r);
  });
}

// The first (top) or last visible record of the current order. With no
// visible record at all: end of file, and bof too when going to the top.
DbfStatus WorkArea::go_end(bool top) {
  if (!used()) return not_open();
  DbfStatus st = sync();
  if (!st) return st;
  bof_ = false;
  std::uint32_t r = 0;
  if (order_ == 0) {
    std::uint32_t n = table_.record_count();
    r = top ? (n ? 1 : 0) : n;
  } else {
    IndexOrder& o = *orders_[static_cast<std::size_t>(order_ - 1)];
    st = guard("Índice", [&]() -> DbfStatus {
      r = top ? o.index->first() : o.index->last();
      return DbfStatus::ok();
    });
    if (!st) return st;
  }
  st = r ? table_.go(r) : table_.go_eof();
  if (!st) return st;
  while (!table_.eof() && hidden()) {
    st = step(top ? +1 : -1);
    if (!st) return st;
    if (bof_) {
      bof_ = false;
      return table_.go_eof();
    }
  }
  if (top && table_.eof()) bof_ = true;
  return DbfStatus::ok();
}

DbfStatus WorkArea::skip(long n) {
  if (!used()) return not_open();
  DbfStatus st = sync();
  if (!st) return st;
  bof_ = false;
  int dir = n >= 0 ? 1 : -1;
  for (long i = 0; i < (n >= 0 ? n : -n); ++i) {
    std::uint32_t from = table_.eof() ? 0 : table_.recno();
    do {
      st = step(dir);
      if (!st) return st;
      if (bof_) break;
    } while (!table_.eof() && hidden());
    if (bof_) {
      // Back on the first visible record.
      if (from) st = table_.go(from); else st = go_top();
      if (!st) return st;
      bof_ = true;
      return DbfStatus::ok();
    }
    if (table_.eof()) break;
  }
  return DbfStatus::ok();
}

DbfStatus WorkArea::go(std::uint32_t recno) {
  if (!used()) return not_open();
  DbfStatus st = sync();
  if (!st) return st;
  bof_ = false;
  if (recno == 0 || recno > table_.record_count()) return table_.go_eof();
  return table_.go(recno);
}

DbfStatus WorkArea::seek(std::string_view key, bool soft) {
  if (!used()) return not_open();
  if (order_ == 0) return fail(DbfCode::Invalid, "Tabela sem índice ativo"_cp.str());
  DbfStatus st = sync();
  if (!st) return st;
  bof_ = false;
  found_ = false;
  IndexOrder& o = *orders_[static_cast<std::size_t>(order_ - 1)];
  std::string want(key.substr(0, static_cast<std::size_t>(o.index->key_len())));
  std::uint32_t r = 0;
  st = guard("Índice", [&]() -> DbfStatus {
    r = o.index->seek(want, SeekMode::Soft).recno;
    return DbfStatus::ok();
  });
  if (!st) return st;
  st = r ? table_.go(r) : table_.go_eof();
  if (!st) return st;
  while (!table_.eof() && hidden()) {
    st = step(+1);
    if (!st) return st;
  }
  if (!table_.eof()) {
    std::string k = key_of(order_);
    found_ = k.compare(0, want.size(), want) == 0;
  }
  if (!found_ && !soft) return table_.go_eof();
  return DbfStatus::ok();
}

std::string WorkArea::trimmed(std::string_view field) const {
  std::string_view v = table_.get_text(field);
  std::size_t a = 0, b = v.size();
  while (a < b && v[a] == ' ') ++a;
  while (b > a && v[b - 1] == ' ') --b;
  return std::string(v.substr(a, b - a));
}

// ---- changes ----------------------------------------------------------------

DbfStatus WorkArea::before_change() {
  if (!used()) return not_open();
  if (table_.eof()) return fail(DbfCode::Invalid, "Nenhum registro corrente (fim do arquivo)");
  if (!dirty_ && !is_new_) {
    old_keys_.clear();
    for (int k = 1; k <= order_count(); ++k) old_keys_.push_back(key_of(k));
  }
  dirty_ = true;
  return DbfStatus::ok();
}

DbfStatus WorkArea::sync() {
  if (!used() || !dirty_) return DbfStatus::ok();
  DbfStatus st = guard("Índice", [&]() -> DbfStatus {
    std::uint32_t r = table_.recno();
    for (int k = 1; k <= order_count(); ++k) {
      IndexOrder& o = *orders_[static_cast<std::size_t>(k - 1)];
      std::string now = key_of(k);
      if (is_new_) {
        o.index->insert(now, r);
      } else if (now != old_keys_[static_cast<std::size_t>(k - 1)]) {
        o.index->remove(old_keys_[static_cast<std::size_t>(k - 1)], r);
        o.index->insert(now, r);
      }
    }
    return DbfStatus::ok();
  });
  DbfStatus fst = table_.flush();
  dirty_ = is_new_ = false;
  old_keys_.clear();
  changed_since_open_ = true;
  return st ? fst : st;
}

#define TX_REPLACE(fn, T, call)                                   \
  DbfStatus WorkArea::fn(std::string_view field, T v) {           \
    DbfStatus st = before_change();                               \
    if (!st) return st;                                           \
    return table_.call(field, v);                                 \
  }
TX_REPLACE(replace_text, std::string_view, set_text)
TX_REPLACE(replace_number, Decimal, set_number)
TX_REPLACE(replace_date, Date, set_date)
TX_REPLACE(replace_logical, bool, set_logical)
TX_REPLACE(replace_memo, std::string_view, set_memo)
#undef TX_REPLACE

DbfStatus WorkArea::replace_raw(int field_index, std::string_view bytes) {
  DbfStatus st = before_change();
  if (!st) return st;
  return table_.set_raw(field_index, bytes);
}

DbfStatus WorkArea::append_blank() {
  if (!used()) return not_open();
  DbfStatus st = sync();
  if (!st) return st;
  st = table_.append_blank();
  if (!st) return st;
  bof_ = false;
  dirty_ = is_new_ = true;
  old_keys_.clear();
  return DbfStatus::ok();
}

DbfStatus WorkArea::delete_record() {
  DbfStatus st = before_change();
  if (!st) return st;
  return table_.set_deleted(true);
}

DbfStatus WorkArea::recall() {
  DbfStatus st = before_change();
  if (!st) return st;
  return table_.set_deleted(false);
}

DbfStatus WorkArea::commit() {
  if (!used()) return not_open();
  DbfStatus st = sync();
  if (!st) return st;
  return table_.commit();
}

DbfStatus WorkArea::pack() {
  if (!used()) return not_open();
  if (!table_.exclusive()) return fail(DbfCode::Invalid, "Pack exige uso exclusivo da tabela");
  DbfStatus st = sync();
  if (!st) return st;
  st = table_.pack();
  if (!st) return st;
  // Record numbers moved: every index is rebuilt, not only the first.
  return rebuild_orders();
}

DbfStatus WorkArea::zap() {
  if (!used()) return not_open();
  if (!table_.exclusive()) return fail(DbfCode::Invalid, "Zap exige uso exclusivo da tabela");
  dirty_ = is_new_ = false;
  DbfStatus st = table_.zap();
  if (!st) return st;
  return rebuild_orders();
}

// Every index built again from the records, then the first record.
DbfStatus WorkArea::rebuild_orders() {
  for (auto& o : orders_) {
    DbfStatus st = build_index(*o);
    if (!st) return st;
  }
  changed_since_open_ = true;
  return go_top();
}

DbfStatus WorkArea::copy_to(const std::string& path) {
  if (!used()) return not_open();
  DbfStatus st = sync();
  if (!st) return st;
  std::uint32_t here = table_.recno();
  st = table_.copy_structure(path);
  if (!st) return st;
  DbfTable out;
  st = out.open(path, DbfTable::Mode::Exclusive);
  for (st = st ? go_top() : st; st && !eof(); st = skip()) {
    st = out.append_blank();
    for (int i = 0; st && i < table_.field_count(); ++i) {
      if (table_.field(i).type == 'M') {
        std::string memo;
        st = table_.get_memo(i, memo);
        if (st) st = out.set_memo(i, memo);
      } else {
        st = out.set_raw(i, table_.raw(i));
      }
    }
  }
  DbfStatus cst = out.close();
  if (st && !cst) st = cst;
  DbfStatus back = here ? go(here) : go_top();
  return st ? back : st;
}

}  // namespace tx::storage
