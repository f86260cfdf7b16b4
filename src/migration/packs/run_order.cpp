/*
** The run order of the catalogue. The step shown as 04_2 runs z_SP_04_3.
*/
#include "migration/packs/run_order.h"

namespace kv::packs {
namespace {

#define KV_FAIL "Установка невозможна\rКод: "

constexpr RunPack k01[] = {{&z_SP_01, " Установка Service Pack 01", KV_FAIL "sp.01"}};
constexpr RunPack k02[] = {{&z_SP_02, " Установка Service Pack 02", KV_FAIL "sp.02"}};
constexpr RunPack k03[] = {{&z_SP_03, " Установка Service Pack 03", KV_FAIL "sp.03"}};
constexpr RunPack k04[] = {{&z_SP_04, " Установка Service Pack 04", KV_FAIL "sp.04"}};
constexpr RunPack k04_1[] = {{&z_SP_04_1, " Установка Service Pack 04_1", KV_FAIL "sp.04.1"}};
constexpr RunPack k04_2[] = {{&z_SP_04_3, " Установка Service Pack 04_2", KV_FAIL "sp.04.2"}};
constexpr RunPack k05[] = {{&z_SP_05, " Установка Service Pack 05", KV_FAIL "sp.05"}};
constexpr RunPack k06[] = {{&z_SP_06, " Установка Service Pack 06", KV_FAIL "sp.06"}};
constexpr RunPack kGroupA[] = {
    {&z_SP_06_1, " Установка Service Pack 06_1", KV_FAIL "sp.06.1"},
    {&z_SP_06_2, " Установка Service Pack 06_2", KV_FAIL "sp.06.2"},
    {&z_SP_06_3, " Установка Service Pack 06_3", KV_FAIL "sp.06.3"},
};
constexpr RunPack k08[] = {{&z_SP_08, " Установка Service Pack 08", KV_FAIL "sp.08"}};
constexpr RunPack kGroupB[] = {
    {&z_SP_08_1, " Установка Service Pack 08_1", KV_FAIL "sp.08.1"},
    {&z_SP_08_2, " Установка Service Pack 08_2", KV_FAIL "sp.08.2"},
    {&z_SP_08_3, " Установка Service Pack 08_3", KV_FAIL "sp.08.3"},
    {&z_SP_08_4, " Установка Service Pack 08_4", KV_FAIL "sp.08.4"},
    {&z_SP_08_5, " Установка Service Pack 08_5", KV_FAIL "sp.08.5"},
    {&z_SP_08_6, " Установка Service Pack 08_6", KV_FAIL "sp.08.6"},
    {&z_SP_08_7, " Установка Service Pack 08_7", KV_FAIL "sp.08.7"},
    {&z_SP_08_8, " Установка Service Pack 08_8", KV_FAIL "sp.08.8"},
    {&z_SP_08_9, " Установка Service Pack 08_9", KV_FAIL "sp.08.9"},
};
constexpr RunPack k09[] = {{&z_SP_09, " Установка Service Pack 09", KV_FAIL "sp.09"}};
constexpr RunPack k09_1[] = {{&z_SP_09_1, " Установка Service Pack 09_1", KV_FAIL "sp.09.1"}};
constexpr RunPack k10[] = {{&z_SP_10, " Установка Service Pack 10", KV_FAIL "sp.10"}};
constexpr RunPack k10_1[] = {{&z_SP_10_1, " Установка Service Pack 10_1", KV_FAIL "sp.10.1"}};
constexpr RunPack k11[] = {{&z_SP_11, " Установка Service Pack 11", KV_FAIL "sp.11"}};
constexpr RunPack k11_1[] = {{&z_SP_11_1, " Установка Service Pack 11_1", KV_FAIL "sp.11.1"}};
constexpr RunPack k12[] = {{&z_SP_12, " Установка Service Pack 12", KV_FAIL "sp.12"}};
constexpr RunPack kGroupC[] = {
    {&z_SP_12_1, " Установка Service Pack 12_1", KV_FAIL "sp.12.1"},
    {&z_SP_12_2, " Установка Service Pack 12_2", KV_FAIL "sp.12.2"},
};

#undef KV_FAIL

constexpr bool kReread = true, kOnce = false;
constexpr bool kRemoveTemp = true, kKeepTemp = false;

// number, gate, re-read, temporary file removal, skip label, skip weight, packs
constexpr RunStep kSteps[] = {
    {1, 0, kReread, kKeepTemp, " Service Pack 01", 33, k01},
    {2, 1, kReread, kKeepTemp, " Service Pack 02", 16, k02},
    {3, 2, kReread, kKeepTemp, " Service Pack 03", 17, k03},
    {4, 3, kReread, kKeepTemp, " Service Pack 04", 15, k04},
    {5, 4, kOnce, kKeepTemp, " Service Pack 04_1", 17, k04_1},
    {6, 4, kOnce, kKeepTemp, " Service Pack 04_2", 12, k04_2},
    {7, 4, kReread, kKeepTemp, " Service Pack 05", 21, k05},
    {8, 5, kReread, kKeepTemp, " Service Pack 06", 9, k06},
    {9, 6, kOnce, kKeepTemp, " Service Pack 06_01_02_03", 71, kGroupA},
    {10, 6, kReread, kKeepTemp, " Service Pack 08", 9, k08},
    {11, 8, kOnce, kKeepTemp, " Service Pack 08_01_02_03_04_05_06_07_08_09", 184, kGroupB},
    {12, 8, kReread, kKeepTemp, " Service Pack 09", 9, k09},
    {13, 9, kOnce, kRemoveTemp, " Service Pack 09_01", 19, k09_1},
    {14, 9, kReread, kKeepTemp, " Service Pack 10", 9, k10},
    {15, 10, kOnce, kRemoveTemp, " Service Pack 10_01", 20, k10_1},
    {16, 10, kReread, kKeepTemp, " Service Pack 11", 9, k11},
    {17, 11, kOnce, kRemoveTemp, " Service Pack 11_01", 17, k11_1},
    {18, 11, kReread, kKeepTemp, " Service Pack 12", 9, k12},
    {19, 12, kOnce, kRemoveTemp, " Service Pack 12_01_02", 47, kGroupC},
};

constexpr std::int32_t kProgramFileSteps = 6;

constexpr std::int32_t GaugeBudget(std::span<const RunStep> steps) {
  std::int32_t sum = kProgramFileSteps;
  for (const RunStep& step : steps) sum += step.skipWeight;
  return sum;
}

}  // namespace

std::span<const RunStep> RunOrder() { return kSteps; }

constexpr std::int32_t kGaugeBudget = GaugeBudget(kSteps);
static_assert(kGaugeBudget == 549, "the gauge maximum as given");

}  // namespace kv::packs
