/*
** The whole catalogue in the wizard's order.
*/
#include "migration/packs/catalogue.h"

namespace kv::packs {

std::span<const Pack* const> Catalogue() {
  static const Pack* const kAll[] = {
      &z_SP_01,   &z_SP_02,   &z_SP_03,   &z_SP_04,   &z_SP_04_1, &z_SP_04_3, &z_SP_05,   &z_SP_06,
      &z_SP_06_1, &z_SP_06_2, &z_SP_06_3, &z_SP_08,   &z_SP_08_1, &z_SP_08_2, &z_SP_08_3, &z_SP_08_4,
      &z_SP_08_5, &z_SP_08_6, &z_SP_08_7, &z_SP_08_8, &z_SP_08_9, &z_SP_09,   &z_SP_09_1, &z_SP_10,
      &z_SP_10_1, &z_SP_11,   &z_SP_11_1, &z_SP_12,   &z_SP_12_1, &z_SP_12_2,
  };
  return kAll;
}

}  // namespace kv::packs
