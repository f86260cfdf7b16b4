/*
** Level-0 schema of the demo installation, one statement list per database.
**
** Column types are chosen so that every later type change is accepted by the
** server, also when repeated with the same type:
**   - money columns that go to NUMERIC(12,4) and later to NUMERIC(18,4) start
**     as NUMERIC(9,2) (at most 8 digits before the point, scale 2 or less);
**   - columns that only go to NUMERIC(18,4) start as NUMERIC(15,4), those that
**     go to NUMERIC(18,2) as NUMERIC(15,2);
**   - PRICEHISTORY.DatePrice starts as DATE and becomes TIMESTAMP.
** The server refuses, among others, NUMERIC(15,2) to NUMERIC(18,4) (scale grows
** with too many integer digits), any FLOAT or DOUBLE PRECISION to NUMERIC, and
** fewer integer digits than before.
**
** Columns that packs drop are kept out of indexes and triggers, since either
** would make the drop or rename fail. Tables that packs drop carry a key
** generator and trigger where the application would have one, so the drop
** also removes that pair. Positions: tables have as many columns as the pack
** positions assume, so added columns land where the packs put them.
*/
#include "level0_schema.h"

namespace kv::demo {
namespace {

// Base.fdb and Config.fdb: catalogue of materials, fittings, colours, design
// elements and machine tools (the same schema in both).
constexpr std::string_view kBaseConfig[] = {
    "CREATE TABLE kv_Setting (Version INTEGER, ServicePack INTEGER, Build INTEGER)",
    "INSERT INTO kv_Setting (Version, ServicePack, Build) VALUES (700, 0, 0)",

    // Old machine-tool table, replaced by the stanok_* tables.
    "CREATE TABLE w_Stanok (NumberMain INTEGER NOT NULL, NameStanok VARCHAR(255), FileName VARCHAR(255), "
    "Settings BLOB SUB_TYPE 1, CONSTRAINT PK_W_STANOK PRIMARY KEY (NumberMain))",
    "CREATE GENERATOR GEN_W_STANOK",
    "SET GENERATOR GEN_W_STANOK TO 0",
    "CREATE TRIGGER BI_W_STANOK FOR W_STANOK\n"
    "ACTIVE BEFORE INSERT POSITION 0\n"
    "AS\n"
    "BEGIN\n"
    "IF (NEW.NUMBERMAIN IS NULL) THEN NEW.NUMBERMAIN = GEN_ID(GEN_W_STANOK,1);\n"
    "END",
    "INSERT INTO w_Stanok (NameStanok, FileName) VALUES ('Пила двухторцовочная', 'saw2.cfg')",
    "INSERT INTO w_Stanok (NameStanok, FileName) VALUES ('Фрезер копировальный', 'mill.cfg')",

    "CREATE TABLE acc_Material (KodMaterial INTEGER NOT NULL, Artikul VARCHAR(40), NameMaterial VARCHAR(255), "
    "Unit VARCHAR(10), Vid SMALLINT, Width INTEGER, Height INTEGER, Thickness INTEGER, Massa NUMERIC(9,3), "
    "KodColor INTEGER, Cost NUMERIC(9,2), Note VARCHAR(255), CONSTRAINT PK_ACC_MATERIAL PRIMARY KEY (KodMaterial))",
    "INSERT INTO acc_Material VALUES (101, 'ПР-58', 'Профиль рамы 58 мм', 'м', 1, 58, 70, 3, 1.250, 1, 310.50, NULL)",
    "INSERT INTO acc_Material VALUES (102, 'ПР-58С', 'Профиль створки 58 мм', 'м', 2, 58, 78, 3, 1.410, 1, 355.00, NULL)",
    "INSERT INTO acc_Material VALUES (103, 'АРМ-30', 'Армирование 30x30', 'м', 3, 30, 30, 2, 1.800, NULL, 120.00, 'steel')",

    "CREATE TABLE rab (KodRab INTEGER NOT NULL, NameRab VARCHAR(255), Unit VARCHAR(10), Cost NUMERIC(9,2), "
    "Vid SMALLINT, Note VARCHAR(255), CONSTRAINT PK_RAB PRIMARY KEY (KodRab))",
    "INSERT INTO rab VALUES (1, 'Сборка окна', 'шт', 450.00, 1, NULL)",
    "INSERT INTO rab VALUES (2, 'Монтаж', 'м2', 900.00, 2, 'on site')",

    "CREATE TABLE stock (KodMaterial INTEGER NOT NULL, KodBuch INTEGER, Artikul VARCHAR(40), NameStock VARCHAR(255), "
    "Unit VARCHAR(10), PriceSale NUMERIC(9,2), PriceSale2 NUMERIC(9,2), KodGroup INTEGER, "
    "CONSTRAINT PK_STOCK PRIMARY KEY (KodMaterial))",
    "INSERT INTO stock VALUES (101, 1001, 'ПР-58', 'Профиль рамы 58 мм', 'м', 350.00, 340.50, 1)",
    "INSERT INTO stock VALUES (104, 1004, 'СП-4', 'Стеклопакет 4-16-4', 'м2', 1800.00, 1750.25, 2)",
    "INSERT INTO stock VALUES (105, 1005, 'RU-1', 'Handle, white', 'pcs', 420.00, NULL, 3)",

    // Design elements: kodTemp, Prefix, KodParameter and kodLimit go to 18 to 20.
    "CREATE TABLE de (NumberMain INTEGER NOT NULL, NameDE VARCHAR(255), Vid SMALLINT, KodProfile INTEGER, "
    "KodColorIn INTEGER, KodColorOut INTEGER, Width INTEGER, Height INTEGER, KolvoRama SMALLINT, "
    "KolvoStvorka SMALLINT, KolvoImpost SMALLINT, Square NUMERIC(9,3), Massa NUMERIC(9,3), Cost NUMERIC(9,2), "
    "Karta VARCHAR(24), Note VARCHAR(255), Picture BLOB SUB_TYPE 0, CONSTRAINT PK_DE PRIMARY KEY (NumberMain))",
    "INSERT INTO de (NumberMain, NameDE, Vid, KodProfile, Width, Height, KolvoRama, KolvoStvorka, KolvoImpost, Square) "
    "VALUES (1, 'Окно двустворчатое', 1, 101, 1300, 1400, 1, 2, 1, 1.820)",
    "INSERT INTO de (NumberMain, NameDE, Vid, KodProfile, Width, Height, KolvoRama, KolvoStvorka, KolvoImpost, Square) "
    "VALUES (2, 'Balcony door', 2, 101, 700, 2100, 1, 1, 0, 1.470)",

    "CREATE TABLE stock_Size (KodMaterial INTEGER, Artikul VARCHAR(40), A INTEGER, B INTEGER, C INTEGER, "
    "D INTEGER, E INTEGER, Height INTEGER, Width INTEGER, Massa NUMERIC(9,3), Note VARCHAR(255))",
    "INSERT INTO stock_Size VALUES (101, 'ПР-58', 58, 70, 20, 8, 0, 70, 58, 1.250, NULL)",
    "INSERT INTO stock_Size VALUES (102, 'ПР-58С', 58, 78, 28, 8, 0, 78, 58, 1.410, NULL)",

    // Old drawing store, dropped for the template tables.
    "CREATE TABLE de_Risunok (NumberMain INTEGER, NameRisunok VARCHAR(255), Risunok BLOB SUB_TYPE 0)",
    "INSERT INTO de_Risunok (NumberMain, NameRisunok) VALUES (1, 'Арка')",

    "CREATE TABLE pr_Structure (NumberMain INTEGER, KodProduct INTEGER, KodMaterial INTEGER, Kolvo NUMERIC(12,4), "
    "Vid SMALLINT)",
    "INSERT INTO pr_Structure VALUES (1, 1, 101, 5.2000, 1)",
    "INSERT INTO pr_Structure VALUES (2, 1, 103, 4.8000, 3)",

    // aLevel is added as the first column and set to 1 in every row.
    "CREATE TABLE set_Config (NameParameter VARCHAR(60), ValueParameter VARCHAR(255), Note VARCHAR(255))",
    "INSERT INTO set_Config VALUES ('Firm', 'ООО «Окна Севера»', NULL)",
    "INSERT INTO set_Config VALUES ('Currency', 'руб.', 'основная валюта')",
    "INSERT INTO set_Config VALUES ('Rounding', '2', NULL)",

    "CREATE TABLE DE_Material (NumberDE INTEGER, KodMaterial INTEGER, Kolvo NUMERIC(12,4), Storona SMALLINT)",
    "INSERT INTO DE_Material VALUES (1, 101, 5.4000, 0)",
    "INSERT INTO DE_Material VALUES (1, 104, 1.5000, 0)",

    // Fitting sets: NumberLock goes to 8, right after Karta, which is dropped later.
    "CREATE TABLE Furnitura (NumberKomplect INTEGER NOT NULL, NameKomplect VARCHAR(255), Vid SMALLINT, "
    "KindOpen SMALLINT, NumberHinge INTEGER, NumberHandle INTEGER, Karta VARCHAR(24), "
    "CONSTRAINT PK_FURNITURA PRIMARY KEY (NumberKomplect))",
    "INSERT INTO Furnitura VALUES (1, 'Поворотно-откидная', 1, 2, 11, 21, 'K-01')",
    "INSERT INTO Furnitura VALUES (2, 'Поворотная', 1, 1, 11, 21, NULL)",

    "CREATE TABLE col (KodColor INTEGER NOT NULL, NameColor VARCHAR(60), RGB INTEGER, "
    "CONSTRAINT PK_COL PRIMARY KEY (KodColor))",
    "INSERT INTO col VALUES (1, 'Белый', 16777215)",
    "INSERT INTO col VALUES (2, 'Золотой дуб', 11829830)",

    "CREATE TABLE set_Element (NumberElement SMALLINT, NameElement VARCHAR(60), Vid SMALLINT, S1 INTEGER, "
    "S2 INTEGER, S3 INTEGER, Karta VARCHAR(24))",
    "INSERT INTO set_Element VALUES (1, 'Рама', 1, 0, 0, 0, 'K-R')",
    "INSERT INTO set_Element VALUES (2, 'Створка', 2, 0, 0, 0, NULL)",

    "CREATE TABLE fur_Material (NumberKomplect INTEGER, KodMaterial INTEGER, Kolvo NUMERIC(12,4), Vid SMALLINT, "
    "Storona SMALLINT, KindOpen SMALLINT, Lmin INTEGER, Lmax INTEGER, Otstup INTEGER, Ugol SMALLINT, "
    "Note VARCHAR(255))",
    "INSERT INTO fur_Material VALUES (1, 105, 1.0000, 1, 2, 2, 400, 2400, 0, 0, 'ручка')",
    "INSERT INTO fur_Material VALUES (1, 106, 2.0000, 2, 3, 2, 400, 2400, 0, 0, NULL)",

    "CREATE TABLE con_2 (NumberCon INTEGER, KodMaterial1 INTEGER, KodMaterial2 INTEGER, Ugol SMALLINT)",
    "INSERT INTO con_2 VALUES (1, 101, 102, 90)",

    // Material groups: Comment is dropped, then Group_Note takes place 6.
    "CREATE TABLE stock_Group (KodGroup INTEGER NOT NULL, NameGroup VARCHAR(255), KodParent INTEGER, Vid SMALLINT, "
    "Comment VARCHAR(255), Sort SMALLINT, CONSTRAINT PK_STOCK_GROUP PRIMARY KEY (KodGroup))",
    "INSERT INTO stock_Group VALUES (1, 'Профили', NULL, 1, 'ПВХ и алюминий', 1)",
    "INSERT INTO stock_Group VALUES (2, 'Стеклопакеты', NULL, 2, NULL, 2)",
    "INSERT INTO stock_Group VALUES (3, 'Fittings', NULL, 3, NULL, 3)",

    "CREATE TABLE set_Shop (NumberShop INTEGER, NameShop VARCHAR(255), Address VARCHAR(255))",
    "INSERT INTO set_Shop VALUES (1, 'Цех №1', 'ул. Заводская, 5')",

    "CREATE TABLE acc_Structure (NumberMain INTEGER, KodAcc INTEGER, KodMaterial INTEGER, Kolvo NUMERIC(12,4), "
    "Formula VARCHAR(255))",
    "INSERT INTO acc_Structure VALUES (1, 1, 103, 1.0000, 'L-40')",

    "CREATE TABLE set_StockList (NumberStock INTEGER, NameStock VARCHAR(255))",
    "INSERT INTO set_StockList VALUES (1, 'Основной склад')",
    "INSERT INTO set_StockList VALUES (2, 'Склад стекла')",

    "CREATE TABLE set_Producer (KodProducer INTEGER NOT NULL, NameProducer VARCHAR(255), NumberStock INTEGER, "
    "Phone VARCHAR(40), CONSTRAINT PK_SET_PRODUCER PRIMARY KEY (KodProducer))",
    "INSERT INTO set_Producer VALUES (1, 'Завод профилей', 1, '+7 812 000-00-01')",

    "CREATE TABLE Acc (KodAcc INTEGER NOT NULL, NameAcc VARCHAR(255), Vid SMALLINT, Width INTEGER, Height INTEGER, "
    "KodMaterial INTEGER, CONSTRAINT PK_ACC PRIMARY KEY (KodAcc))",
    "INSERT INTO Acc VALUES (1, 'Подоконник 300', 1, 300, 20, 107)",
    "INSERT INTO Acc VALUES (2, 'Отлив 150', 2, 150, 1, 108)",

    "CREATE TABLE fur_Material2 (NumberKomplect INTEGER, KodMaterial INTEGER, Kolvo NUMERIC(12,4), "
    "Note VARCHAR(255))",
    "INSERT INTO fur_Material2 VALUES (1, 109, 4.0000, 'заглушки')",

    // Old stock-to-fittings link, dropped.
    "CREATE TABLE stock_Furnitura (KodMaterial INTEGER, NumberKomplect INTEGER, Kolvo NUMERIC(12,4))",
    "INSERT INTO stock_Furnitura VALUES (105, 1, 1.0000)",

    "CREATE TABLE COL_MATERIAL (KodColor INTEGER, KodMaterial INTEGER, Artikul VARCHAR(40), Cost NUMERIC(9,2))",
    "INSERT INTO COL_MATERIAL VALUES (2, 101, 'ПР-58-ЗД', 95.00)",

    // k_Factor is added at place 5 and filled with 1000.
    "CREATE TABLE STOCK_COLOR (KodMaterial INTEGER, KodColor INTEGER, Artikul VARCHAR(40), NameColor VARCHAR(60))",
    "INSERT INTO STOCK_COLOR VALUES (101, 1, 'ПР-58', 'Белый')",
    "INSERT INTO STOCK_COLOR VALUES (101, 2, 'ПР-58-ЗД', 'Золотой дуб')",
    "INSERT INTO STOCK_COLOR VALUES (102, 1, 'ПР-58С', 'Белый')",
};

// Orders.fdb and the server Orders database: orders and their calculation.
constexpr std::string_view kOrders[] = {
    "CREATE TABLE kv_Setting (Version INTEGER, ServicePack INTEGER, Build INTEGER)",
    "INSERT INTO kv_Setting (Version, ServicePack, Build) VALUES (700, 0, 0)",

    // COST and PAID become NUMERIC(18,2); NOM_GUID goes to place 2.
    "CREATE TABLE ORDERS (NOM INTEGER NOT NULL, NumberOrder VARCHAR(40), DateOrder DATE, KodCustomer INTEGER, "
    "COST NUMERIC(15,2), PAID NUMERIC(15,2), Status SMALLINT, Note VARCHAR(255), "
    "CONSTRAINT PK_ORDERS PRIMARY KEY (NOM))",
    "CREATE GENERATOR GEN_ORDERS",
    "SET GENERATOR GEN_ORDERS TO 0",
    "CREATE TRIGGER BI_ORDERS FOR ORDERS\n"
    "ACTIVE BEFORE INSERT POSITION 0\n"
    "AS\n"
    "BEGIN\n"
    "IF (NEW.NOM IS NULL) THEN NEW.NOM = GEN_ID(GEN_ORDERS,1);\n"
    "END",
    "INSERT INTO ORDERS (NumberOrder, DateOrder, KodCustomer, COST, PAID, Status, Note) "
    "VALUES ('24-001', DATE '2024-03-04', 1, 48250.00, 20000.00, 1, 'Доставка в субботу')",
    "INSERT INTO ORDERS (NumberOrder, DateOrder, KodCustomer, COST, PAID, Status, Note) "
    "VALUES ('24-002', DATE '2024-03-05', 2, 15600.50, 15600.50, 2, NULL)",
    "INSERT INTO ORDERS (NumberOrder, DateOrder, KodCustomer, COST, PAID, Status, Note) "
    "VALUES ('24-003', DATE '2024-03-11', 1, 9900.00, 0.00, 0, NULL)",

    // Eight columns: the added columns take places 9 to 16.
    "CREATE TABLE k_Razdel (NOM INTEGER, NumberProduct SMALLINT, NumberRazdel SMALLINT, Vid SMALLINT, "
    "LengthRazdel INTEGER, Ugol1 SMALLINT, Ugol2 SMALLINT, KodMaterial INTEGER)",
    "INSERT INTO k_Razdel VALUES (1, 1, 1, 1, 1300, 45, 45, 101)",
    "INSERT INTO k_Razdel VALUES (1, 1, 2, 2, 1400, 45, 45, 101)",

    // pOtkos goes to place 9.
    "CREATE TABLE Product (NOM INTEGER NOT NULL, NumberProduct SMALLINT NOT NULL, NameProduct VARCHAR(255), "
    "Kolvo SMALLINT, Width INTEGER, Height INTEGER, KodDE INTEGER, Cost NUMERIC(15,2), "
    "CONSTRAINT PK_PRODUCT PRIMARY KEY (NOM, NumberProduct))",
    "INSERT INTO Product VALUES (1, 1, 'Окно двустворчатое', 2, 1300, 1400, 1, 18200.00)",
    "INSERT INTO Product VALUES (1, 2, 'Балконная дверь', 1, 700, 2100, 2, 11850.00)",
    "INSERT INTO Product VALUES (2, 1, 'Окно одностворчатое', 1, 600, 1200, 1, 7400.50)",
    "INSERT INTO Product VALUES (3, 1, 'Window, fixed', 3, 900, 900, 1, 3300.00)",

    // Rows of vid A become Product.pOtkos (Razmer x 100) and are deleted;
    // (3, 9) has no product; the other vids stay.
    "CREATE TABLE p_Razmer (NOM INTEGER, NumberProduct SMALLINT, Vid CHAR(1), Razmer INTEGER, Note VARCHAR(60))",
    "INSERT INTO p_Razmer VALUES (1, 1, 'A', 7, 'откос')",
    "INSERT INTO p_Razmer VALUES (1, 2, 'A', 15, NULL)",
    "INSERT INTO p_Razmer VALUES (2, 1, 'A', 25, NULL)",
    "INSERT INTO p_Razmer VALUES (3, 9, 'A', 4, 'без изделия')",
    "INSERT INTO p_Razmer VALUES (1, 1, 'B', 40, NULL)",
    "INSERT INTO p_Razmer VALUES (2, 1, 'П', 12, 'подоконник')",

    // Eight columns: NumberElement0, NumberStorona0 and OtstupOut take 9 to 11
    // and are renamed later; the right-side columns follow at 12 to 15.
    "CREATE TABLE k_MaterialS (NOM INTEGER, NumberProduct SMALLINT, NumberElement SMALLINT, KodMaterial INTEGER, "
    "Kolvo NUMERIC(12,4), LengthMaterial INTEGER, Ugol1 SMALLINT, Ugol2 SMALLINT)",
    "INSERT INTO k_MaterialS VALUES (1, 1, 1, 101, 1.0000, 1300, 45, 45)",
    "INSERT INTO k_MaterialS VALUES (1, 1, 2, 102, 2.0000, 1364, 45, 45)",

    // Six columns: Prefix and SubParameter take places 7 and 8.
    "CREATE TABLE de (NOM INTEGER, NumberProduct SMALLINT, NumberDE INTEGER, NameDE VARCHAR(255), Width INTEGER, "
    "Height INTEGER)",
    "INSERT INTO de VALUES (1, 1, 1, 'Окно двустворчатое', 1300, 1400)",

    // An empty VidPaid means cash ('C'); the other kinds stay.
    "CREATE TABLE o_Paid (NOM INTEGER, DatePaid DATE, Summa NUMERIC(15,2), VidPaid VARCHAR(1), Note VARCHAR(255))",
    "INSERT INTO o_Paid VALUES (1, DATE '2024-03-04', 10000.00, '', 'аванс')",
    "INSERT INTO o_Paid VALUES (1, DATE '2024-03-06', 10000.00, 'B', NULL)",
    "INSERT INTO o_Paid VALUES (2, DATE '2024-03-05', 15600.50, '', NULL)",
    "INSERT INTO o_Paid VALUES (2, DATE '2024-03-07', 0.00, 'C', 'correction')",
    "INSERT INTO o_Paid VALUES (3, DATE '2024-03-12', 0.00, NULL, NULL)",

    "CREATE TABLE o_Info (NOM INTEGER, NumberShop INTEGER, Manager VARCHAR(60), Phone VARCHAR(40), "
    "Address VARCHAR(255))",
    "INSERT INTO o_Info VALUES (1, 1, 'Иванова А.С.', '+7 921 000-11-22', 'пр. Мира, 12-45')",
    "INSERT INTO o_Info VALUES (2, 1, 'Petrov I.', NULL, NULL)",

    // Eleven columns: DateZakaz takes 12, made 13.
    "CREATE TABLE k_Filling (NOM INTEGER, NumberProduct SMALLINT, NumberElement SMALLINT, NumberFilling SMALLINT, "
    "KodMaterial INTEGER, Width INTEGER, Height INTEGER, Square NUMERIC(9,3), Massa NUMERIC(9,3), "
    "Formula VARCHAR(40), Note VARCHAR(255))",
    "INSERT INTO k_Filling VALUES (1, 1, 2, 1, 104, 560, 1260, 0.706, 14.100, '4-16-4', NULL)",

    // Four columns: OtkosMin, OtkosMax follow; KodService goes to place 5.
    "CREATE TABLE o_Service (NOM INTEGER, NumberService SMALLINT, NameService VARCHAR(255), Cost NUMERIC(15,2))",
    "INSERT INTO o_Service VALUES (1, 1, 'Монтаж окна', 3500.00)",
    "INSERT INTO o_Service VALUES (1, 2, 'Вывоз мусора', 500.00)",

    // Old tint table: its rows are copied column by column into the new
    // k_Tonirovka, so it has exactly the same columns.
    "CREATE TABLE k_Price (Nom INT, NumberProduct SmallInt, NumberElement SmallInt, KodCapital SmallInt, "
    "CostCapital NUMERIC(8,2))",
    "INSERT INTO k_Price VALUES (1, 1, 2, 3, 450.00)",
    "INSERT INTO k_Price VALUES (1, 2, 1, 5, 1200.50)",
    "INSERT INTO k_Price VALUES (2, 1, 1, 3, 225.00)",

    // Six columns: email and FIOshort take places 7 and 8.
    "CREATE TABLE o_Customer (KodCustomer INTEGER NOT NULL, FIO VARCHAR(255), Phone VARCHAR(40), "
    "Address VARCHAR(255), INN VARCHAR(12), Note VARCHAR(255), CONSTRAINT PK_O_CUSTOMER PRIMARY KEY (KodCustomer))",
    "INSERT INTO o_Customer VALUES (1, 'Смирнов Пётр Алексеевич', '+7 921 555-01-02', 'ул. Садовая, 3', NULL, NULL)",
    "INSERT INTO o_Customer VALUES (2, 'ООО «Стройдом»', '+7 812 444-00-00', NULL, '7801234567', 'опт')",

    "CREATE TABLE O_ACCOUNT (NOM INTEGER, NumberAccount VARCHAR(40), DateAccount DATE, COST NUMERIC(15,2), "
    "DISCOUNT NUMERIC(15,2))",
    "INSERT INTO O_ACCOUNT VALUES (1, 'С-101', DATE '2024-03-04', 48250.00, 2412.50)",

    "CREATE TABLE O_CHARGES (NOM INTEGER, NameCharges VARCHAR(255), COST NUMERIC(15,2))",
    "INSERT INTO O_CHARGES VALUES (1, 'Доставка', 1500.00)",

    // Eight columns: Element takes place 9.
    "CREATE TABLE k_Furnitura (NOM INTEGER, NumberProduct SMALLINT, NumberElement SMALLINT, NumberKomplect INTEGER, "
    "KodMaterial INTEGER, Kolvo NUMERIC(12,4), Storona SMALLINT, Otstup INTEGER)",
    "INSERT INTO k_Furnitura VALUES (1, 1, 2, 1, 105, 1.0000, 2, 0)",

    // Ten columns: NumberElement goes to 3, then Svarka to 12.
    "CREATE TABLE p_Karta (NOM INTEGER, NumberProduct SMALLINT, Karta VARCHAR(24), KodMaterial INTEGER, "
    "LengthKarta INTEGER, Ugol1 SMALLINT, Ugol2 SMALLINT, Kolvo SMALLINT, Vid SMALLINT, Note VARCHAR(60))",
    "INSERT INTO p_Karta VALUES (1, 1, 'K-01', 101, 1300, 45, 45, 2, 1, 'рама')",

    // Ten columns: made takes place 11.
    "CREATE TABLE k_Element (NOM INTEGER, NumberProduct SMALLINT, NumberElement SMALLINT, KodMaterial INTEGER, "
    "Vid SMALLINT, LengthElement INTEGER, Ugol1 SMALLINT, Ugol2 SMALLINT, Kolvo SMALLINT, Massa NUMERIC(9,3))",
    "INSERT INTO k_Element VALUES (1, 1, 1, 101, 1, 1300, 45, 45, 2, 1.625)",

    "CREATE TABLE p_Karta2 (NOM INTEGER, NumberProduct SMALLINT, Karta VARCHAR(24), KodMaterial INTEGER, "
    "LengthKarta INTEGER)",
    "INSERT INTO p_Karta2 VALUES (1, 1, 'K-02', 102, 1364)",
    "CREATE TABLE p_KartaA (NOM INTEGER, NumberProduct SMALLINT, Karta VARCHAR(24), KodMaterial INTEGER, "
    "LengthKarta INTEGER)",
    "INSERT INTO p_KartaA VALUES (1, 1, 'K-03', 103, 1250)",

    // Norm hours: one installation stored them 100 times too small; its fix
    // touches 1 to 999 only, so 0, negative, 1000+ and null must stay.
    "CREATE TABLE O_K (NOM INTEGER, NumberOperation SMALLINT, NameOperation VARCHAR(255), NORMHOUR INTEGER)",
    "INSERT INTO O_K VALUES (1, 1, 'Резка профиля', 0)",
    "INSERT INTO O_K VALUES (1, 2, 'Сварка', -5)",
    "INSERT INTO O_K VALUES (1, 3, 'Зачистка', 1)",
    "INSERT INTO O_K VALUES (1, 4, 'Сборка', 250)",
    "INSERT INTO O_K VALUES (1, 5, 'Остекление', 999)",
    "INSERT INTO O_K VALUES (2, 1, 'Монтаж', 1000)",
    "INSERT INTO O_K VALUES (2, 2, 'Packing', 4500)",
    "INSERT INTO O_K VALUES (2, 3, 'Контроль', NULL)",
};

// Director.fdb: the manager's stock view.
constexpr std::string_view kDirector[] = {
    "CREATE TABLE kv_Setting (Version INTEGER, ServicePack INTEGER, Build INTEGER)",
    "INSERT INTO kv_Setting (Version, ServicePack, Build) VALUES (700, 0, 0)",

    "CREATE TABLE stock_Group (KodGroup INTEGER NOT NULL, NameGroup VARCHAR(255), KodParent INTEGER, Vid SMALLINT, "
    "Comment VARCHAR(255), Sort SMALLINT, CONSTRAINT PK_STOCK_GROUP PRIMARY KEY (KodGroup))",
    "INSERT INTO stock_Group VALUES (1, 'Профили', NULL, 1, 'ПВХ', 1)",
    "INSERT INTO stock_Group VALUES (2, 'Стеклопакеты', NULL, 2, NULL, 2)",

    // KodBuch_2 goes to place 3, after KodBuch.
    "CREATE TABLE STOCKMAIN (KodMaterial INTEGER NOT NULL, KodBuch INTEGER, Artikul VARCHAR(40), "
    "NameStock VARCHAR(255), Unit VARCHAR(10), KodGroup INTEGER, CONSTRAINT PK_STOCKMAIN PRIMARY KEY (KodMaterial))",
    "INSERT INTO STOCKMAIN VALUES (101, 1001, 'ПР-58', 'Профиль рамы 58 мм', 'м', 1)",
    "INSERT INTO STOCKMAIN VALUES (104, 1004, 'СП-4', 'Стеклопакет 4-16-4', 'м2', 2)",
};

// Price.fdb: price list and its history.
constexpr std::string_view kPrice[] = {
    "CREATE TABLE kv_Setting (Version INTEGER, ServicePack INTEGER, Build INTEGER)",
    "INSERT INTO kv_Setting (Version, ServicePack, Build) VALUES (700, 0, 0)",

    // KodMaterial gets a unique index: its values are distinct.
    "CREATE TABLE PRICE (KodMaterial INTEGER NOT NULL, Artikul VARCHAR(40), NameMaterial VARCHAR(255), "
    "COSTBASE NUMERIC(15,4), COSTBASENDS NUMERIC(15,4), COST0 NUMERIC(15,4), PRICESALE NUMERIC(15,2), "
    "PRICESALE2 NUMERIC(9,2), DateChange DATE)",
    "INSERT INTO PRICE VALUES (101, 'ПР-58', 'Профиль рамы 58 мм', 250.1234, 295.1456, 240.0000, 350.00, 340.50, "
    "DATE '2024-02-01')",
    "INSERT INTO PRICE VALUES (102, 'ПР-58С', 'Профиль створки 58 мм', 280.0000, 330.4000, 270.0000, 390.00, "
    "380.00, DATE '2024-02-01')",
    "INSERT INTO PRICE VALUES (104, 'СП-4', 'Стеклопакет 4-16-4', 1200.0000, 1416.0000, 1150.0000, 1800.00, "
    "1750.25, DATE '2024-02-15')",

    // History keeps several rows per material: its index on KodMaterial is plain.
    "CREATE TABLE PRICEHISTORY (NumberMain INTEGER, KodMaterial INTEGER, DatePrice DATE, COSTBASE NUMERIC(15,4), "
    "COSTBASENDS NUMERIC(15,4), COST0 NUMERIC(15,4), PRICESALE NUMERIC(15,2), PRICESALE2 NUMERIC(9,2))",
    "INSERT INTO PRICEHISTORY VALUES (1, 101, DATE '2023-09-01', 230.0000, 271.4000, 220.0000, 320.00, 310.00)",
    "INSERT INTO PRICEHISTORY VALUES (2, 101, DATE '2024-02-01', 250.1234, 295.1456, 240.0000, 350.00, 340.50)",
    "INSERT INTO PRICEHISTORY VALUES (3, 104, DATE '2024-02-15', 1200.0000, 1416.0000, 1150.0000, 1800.00, 1750.25)",
};

// StockMan.fdb: warehouse stock, arrivals and charges.
constexpr std::string_view kStockMan[] = {
    "CREATE TABLE kv_Setting (Version INTEGER, ServicePack INTEGER, Build INTEGER)",
    "INSERT INTO kv_Setting (Version, ServicePack, Build) VALUES (700, 0, 0)",

    // Quantity becomes the BIGINT Kolvo = Quantity x 10000 at place 4.
    "CREATE TABLE StockMan (KodMaterial INTEGER, KodColor INTEGER, NumberStock INTEGER, Quantity NUMERIC(15,4), "
    "KolvoReserve NUMERIC(15,4), Note VARCHAR(255))",
    "INSERT INTO StockMan VALUES (101, 1, 1, 3, 0, NULL)",
    "INSERT INTO StockMan VALUES (102, 1, 1, 2.5, 1, NULL)",
    "INSERT INTO StockMan VALUES (104, NULL, 2, 0.125, 0, 'остаток')",
    "INSERT INTO StockMan VALUES (105, NULL, 1, 1250.75, 10, NULL)",
    "INSERT INTO StockMan VALUES (106, NULL, 1, 0, 0, NULL)",
    "INSERT INTO StockMan VALUES (107, NULL, 1, NULL, NULL, 'не считан')",

    "CREATE TABLE ArchiveStockMan (DateArchive DATE, KodMaterial INTEGER, KodColor INTEGER, NumberStock INTEGER, "
    "Quantity NUMERIC(15,4))",
    "INSERT INTO ArchiveStockMan VALUES (DATE '2023-12-31', 101, 1, 1, 12.0000)",

    // Summa goes to NUMERIC(12,4) and later NUMERIC(18,4), COST to NUMERIC(18,4).
    "CREATE TABLE Arrivals (NumberArrival INTEGER NOT NULL, DateArrival DATE, KodSupplier INTEGER, "
    "NumberDoc VARCHAR(40), COST NUMERIC(15,4), Summa NUMERIC(9,2), CONSTRAINT PK_ARRIVALS PRIMARY KEY (NumberArrival))",
    "INSERT INTO Arrivals VALUES (1, DATE '2024-02-20', 1, 'ТН-0457', 250.1234, 12506.17)",
    "INSERT INTO Arrivals VALUES (2, DATE '2024-03-01', 2, 'ТН-0512', 1200.0000, 36000.00)",

    "CREATE TABLE ArrivalsList (NumberArrival INTEGER, KodMaterial INTEGER, Quantity NUMERIC(15,4), "
    "NumberStock INTEGER, Cost NUMERIC(15,4))",
    "INSERT INTO ArrivalsList VALUES (1, 101, 50.0000, 1, 250.1234)",
    "INSERT INTO ArrivalsList VALUES (2, 104, 30.0000, 2, 1200.0000)",

    "CREATE TABLE SUPPLIERCOST (KodSupplier INTEGER, KodMaterial INTEGER, COST NUMERIC(15,4), DateCost DATE)",
    "INSERT INTO SUPPLIERCOST VALUES (1, 101, 250.1234, DATE '2024-02-01')",

    "CREATE TABLE CHARGES (NumberCharge INTEGER NOT NULL, DateCharge DATE, NumberDoc VARCHAR(40), "
    "COST NUMERIC(15,4), CONSTRAINT PK_CHARGES PRIMARY KEY (NumberCharge))",
    "INSERT INTO CHARGES VALUES (1, DATE '2024-03-04', 'Заказ 24-001', 1625.6170)",

    "CREATE TABLE ChargesList (NumberCharge INTEGER, KodMaterial INTEGER, Quantity NUMERIC(15,4), "
    "NumberStock INTEGER)",
    "INSERT INTO ChargesList VALUES (1, 101, 6.5000, 1)",
};

// Optima.fdb: cutting optimisation.
constexpr std::string_view kOptima[] = {
    "CREATE TABLE kv_Setting (Version INTEGER, ServicePack INTEGER, Build INTEGER)",
    "INSERT INTO kv_Setting (Version, ServicePack, Build) VALUES (700, 0, 0)",

    "CREATE TABLE Optima (Kod_Optima INTEGER NOT NULL, Date_Optima DATE, Name_Optima VARCHAR(255), "
    "Kod_Material INTEGER, Length_Hlyst INTEGER, CONSTRAINT PK_OPTIMA PRIMARY KEY (Kod_Optima))",
    "INSERT INTO Optima VALUES (1, DATE '2024-03-05', 'Раскрой заказа 24-001', 101, 6000)",
    "INSERT INTO Optima VALUES (2, DATE '2024-03-06', 'Раскрой заказа 24-002', 102, 6500)",
};

// System.fdb: currencies and document profiles.
constexpr std::string_view kSystem[] = {
    "CREATE TABLE kv_Setting (Version INTEGER, ServicePack INTEGER, Build INTEGER)",
    "INSERT INTO kv_Setting (Version, ServicePack, Build) VALUES (700, 0, 0)",

    // Old currency history: dropped with its key generator and re-created empty.
    "CREATE TABLE history_Money (NumberMain INTEGER NOT NULL, DateSave DATE, DesignCurrency VARCHAR(12), "
    "Rate NUMERIC(9,4), CONSTRAINT PK_HISTORY_MONEY PRIMARY KEY (NumberMain))",
    "CREATE GENERATOR GEN_HISTORY_MONEY",
    "SET GENERATOR GEN_HISTORY_MONEY TO 0",
    "CREATE TRIGGER BI_HISTORY_MONEY FOR HISTORY_MONEY\n"
    "ACTIVE BEFORE INSERT POSITION 0\n"
    "AS\n"
    "BEGIN\n"
    "IF (NEW.NUMBERMAIN IS NULL) THEN NEW.NUMBERMAIN = GEN_ID(GEN_HISTORY_MONEY,1);\n"
    "END",
    "INSERT INTO history_Money (DateSave, DesignCurrency, Rate) VALUES (DATE '2024-03-01', 'USD', 90.9100)",
    "INSERT INTO history_Money (DateSave, DesignCurrency, Rate) VALUES (DATE '2024-03-01', 'евро', 98.5200)",

    "CREATE TABLE set_DocProfil (NumberDoc INTEGER NOT NULL, NameDoc VARCHAR(255), FileTemplate VARCHAR(255), "
    "CONSTRAINT PK_SET_DOCPROFIL PRIMARY KEY (NumberDoc))",
    "INSERT INTO set_DocProfil VALUES (1, 'Счёт на оплату', 'schet.frx')",
    "INSERT INTO set_DocProfil VALUES (2, 'Договор', 'dogovor.frx')",
};

// The temporary Orders files are never upgraded, only deleted.
constexpr std::string_view kOrdersTemp[] = {
    "CREATE TABLE kv_Setting (Version INTEGER, ServicePack INTEGER, Build INTEGER)",
    "INSERT INTO kv_Setting (Version, ServicePack, Build) VALUES (700, 0, 0)",
};

}  // namespace

std::span<const std::string_view> Level0Statements(DemoDatabase db) {
  switch (db) {
    case DemoDatabase::Base:
    case DemoDatabase::Config:
      return kBaseConfig;
    case DemoDatabase::Orders:
    case DemoDatabase::ServerOrders:
      return kOrders;
    case DemoDatabase::Director:
      return kDirector;
    case DemoDatabase::Price:
      return kPrice;
    case DemoDatabase::StockMan:
      return kStockMan;
    case DemoDatabase::Optima:
      return kOptima;
    case DemoDatabase::System:
      return kSystem;
    case DemoDatabase::OrdersTemp:
      return kOrdersTemp;
  }
  return {};
}

}  // namespace kv::demo
