/*
** The data steps of the catalogue: corrections of rows that run between the
** schema steps of a pack, each with its own rules for counting, failing and
** what it shows.
*/
#pragma once

#include "migration/packs/catalogue.h"

namespace kv::packs {

/* z_SP_02: Product.pOtkos from the p_Razmer rows of vid "A", which are then removed. */
Outcome ConvertOtkos(TDM1& dm);
/* z_SP_05: the empty payment kind becomes "C". Counts 1 whatever happens. */
Outcome FillPaymentKind(TDM1& dm);
/* z_SP_06_1: aLevel 1 in every set_Config row; a failure ends the database's work. */
Outcome SetConfigLevel(TDM1& dm);
/* z_SP_08_1: k_Tonirovka replaces k_Price, keeping its rows. Counts 3. */
Outcome MoveTintTable(TDM1& dm);
/* z_SP_08_4: StockMan.Quantity becomes Kolvo in ten-thousandths. Counts 3. */
Outcome ConvertQuantity(TDM1& dm);
/* z_SP_12_1: set_workshop rebuilt with its nine fixed rows. Counts 3. */
Outcome RebuildWorkshopTable(TDM1& dm);
/* z_SP_12_2: k_Factor 1000 where it is empty. Counts nothing. */
Outcome FillColorFactor(TDM1& dm);
/* The column of kv_Setting that records that the normative hours were scaled. */
inline constexpr const char* kNormHourMark = "NormHourX100";

/* z_SP_12_2: normative hours times 100, for installation 8 only and only once.
** Counts nothing. */
Outcome ScaleNormHours(TDM1& dm);

}  // namespace kv::packs
