// Verification of every table and index file of a folder, for operators and
// support. Changes nothing: tables are opened shared and only read.
//
// Interface
//   verify_folder(folder) -> one FileCheck per .DBF and .CDX file, tables
//                            first, each sorted by name
//
// A table is sound when its header and field descriptors are consistent and
// its record count agrees with the file size. An index is sound when it opens
// and every key and record number it holds agrees with the records of its
// table (found by name: the index's own name, that name less its last letter,
// or the catalogue's name for it); an index whose table cannot be found or
// read is counted as damaged.
#pragma once

#include <string>
#include <vector>

namespace tx::storage {

struct FileCheck {
  std::string name;    // file name as found in the folder
  bool sound = false;
  std::string detail;  // CP850: record/key count, or what is wrong
};

std::vector<FileCheck> verify_folder(const std::string& folder);

}  // namespace tx::storage
