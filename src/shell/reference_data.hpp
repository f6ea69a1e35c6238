// The reference tables delivered with the installation (asset, dependant,
// debt and payment codes, SELIC rates, occupations, countries ...): on a new
// program folder they do not exist yet, so the start-up makes them from the
// data files shipped with the program.
//
// Data files: one per table, "<TABLE>.csv" in the reference folder, UTF-8.
// The first line gives the fields, "NAME TYPE WIDTH[,DECIMALS]" separated
// by ";" (e.g. "CODDES N 2;DESCDOA C 60"; types C N D L M); every further line is one record,
// its values separated by ";" in the same order. Blank lines and lines
// starting with "#" are skipped.
//
// Interface
//   find_reference_folder(given)  `given` when not empty; otherwise the first
//                 of <program's folder>/data/reference, <program's
//                 folder>/../data/reference, <program's folder>/../share/
//                 tx2014/reference that exists; "" when none
//   read_reference_file(text, table)  parses one data file; false (with
//                 `error`) on a bad field line or a record with more values
//                 than fields
//   install_reference_tables(arqdef, folder)  creates, in the program folder
//                 `arqdef`, every delivered table that is missing and has a
//                 data file; a table that exists is never touched. Each
//                 table is written beside its final name and renamed into
//                 place, so a table is either complete or absent. Returns the
//                 names created.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/field.hpp"

namespace tx::shell {

struct ReferenceTable {
  std::vector<storage::FieldDef> fields;
  std::vector<std::vector<std::string>> records;  // code page 850 values
};

std::string find_reference_folder(const std::string& given);
bool read_reference_file(std::string_view text, ReferenceTable& table, std::string* error = nullptr);
std::vector<std::string> install_reference_tables(const std::string& arqdef, const std::string& folder);

// The delivered tables the start-up makes when missing.
extern const std::vector<std::string> kReferenceTables;

}  // namespace tx::shell
