// The catalogue by code and by name.
#include "items/catalogue_lists.hpp"

#include "items/item_editor.hpp"

namespace tx::items {

namespace {

constexpr int kCodes[] = {1,  2,  3,  4,  5,  6,  8,  9,  11, 13, 15, 17, 18, 20, 21, 22, 23, 24, 25, 26,
                          28, 29, 30, 31, 32, 33, 34, 35, 36, 38, 40, 45, 46, 48, 49, 50, 51, 52, 53, 54, 55};

ListDescriptor build(int code, const CatalogueContext& ctx) {
  ListDescriptor d = declaration_list(code, ctx);
  if (d.code == 0) d = office_list(code, ctx);
  return d;
}

// Lists known by a name of their own besides the default of their code.
struct Variant {
  const char* name;
  ListDescriptor (*make)(const CatalogueContext&);
};

const Variant kVariants[] = {
    {"alimony_receivers", [](const CatalogueContext& c) { return people_list(42, c); }},
    {"heirs", [](const CatalogueContext& c) { return people_list(45, c); }},
    {"accumulated_dependants",
     [](const CatalogueContext& c) {
       CatalogueContext d = c;
       d.dependants = true;
       return declaration_list(20, d);
     }},
};

}  // namespace

std::vector<int> catalogue_codes() { return {std::begin(kCodes), std::end(kCodes)}; }

std::vector<std::pair<std::string, int>> catalogue_names() {
  std::vector<std::pair<std::string, int>> names;
  CatalogueContext ctx;
  for (int code : kCodes) names.emplace_back(build(code, ctx).name, code);
  for (const Variant& v : kVariants) names.emplace_back(v.name, v.make(ctx).code);
  return names;
}

ListDescriptor catalogue_list(int code, const CatalogueContext& ctx) {
  for (int c : kCodes)
    if (c == code) return build(code, ctx);
  return {};
}

ListDescriptor catalogue_list(const std::string& name, const CatalogueContext& ctx) {
  for (const Variant& v : kVariants)
    if (name == v.name) return v.make(ctx);
  CatalogueContext plain;
  for (int code : kCodes)
    if (build(code, plain).name == name) return build(code, ctx);
  return {};
}

void register_catalogue(ItemEditor& ed, const CatalogueContext& ctx) {
  for (int code : kCodes) {
    ListDescriptor d = build(code, ctx);
    ed.catalogue[d.name] = d;
  }
  for (const Variant& v : kVariants) {
    ListDescriptor d = v.make(ctx);
    d.name = v.name;
    ed.catalogue[d.name] = d;
  }
}

}  // namespace tx::items
