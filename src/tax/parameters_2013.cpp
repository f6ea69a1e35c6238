#include "tax/parameters_2013.hpp"

namespace tx::tax {

std::optional<Decimal> find_parameter(std::string_view name) {
  static constexpr Parameter all[] = {
      NBASEAN1, NBASEAN2, NBASEAN3, NBASEAN4, NDEDUAN1, NDEDUAN2, NDEDUAN3, NDEDUAN4,
      NBASEME1, NBASEME2, NBASEME3, NBASEME4, NDEDUME1, NDEDUME2, NDEDUME3, NDEDUME4,
      ALIQ1, ALIQ2, ALIQ3, ALIQ4, NVALDEPANO, NVALDEPEN, NVALESCOL, NVALAPOSE, NVALAPOSA,
      NMAXINSS, TAXA_PREVPRIV, FATOR_DOMESTICO, NDESCPRAD, TAXA_DESCPRAD, TAXA_INCENTIVO,
      TAXA_ECA, TAXA_DESPORTO, QUOTA_MINIMA,
  };
  for (const auto& p : all)
    if (p.name == name) return p.value;
  for (const auto& p : TAB_DOLAR)
    if (p.name == name) return p.value;
  return std::nullopt;
}

}  // namespace tx::tax
