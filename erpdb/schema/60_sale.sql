-- The sale invoice with its lines, line discounts, traces, scale barcodes, surcharges and
-- deductions; invoice types, pricing methods, pre-conditions, promoter cards, promotions,
-- discount and tax settings; sale orders, assignments and returns.

-- A temporary invoice has a NULL Code; a final one its serial number (-1: final without number).
-- Value is the grand total without tax and duty; TotalValue and PureTotalValue the grand and net
-- totals shown when it was saved. ObjectID1/ObjectID2 are the accounting objects of the
-- customer's account. CardNo is the promoter card, compared as a number.
-- UpdaterID, UpdateDate and FarsiUpdateDate are the last change. A database installed before
-- they were created here gets them from the upgrade to version 3; the invoice form still adds
-- them when it meets such a database first, so no view may read them.
-- SumQty ... SuCharge are the sums of the lines and surcharges that the lists show, kept by every
-- writer of them (RefreshInvoiceSums); a database installed before gets them from version 8.
CREATE TABLE IF NOT EXISTS tblSaleInvoice (
    ID IDENTITY,
    Code INTEGER,
    ManualCode VARCHAR(50),
    InvoiceType SMALLINT,
    TypeID INTEGER,
    CustomerID INTEGER,
    InventoryID INTEGER,
    BranchID INTEGER,
    ContractID INTEGER,
    DeliverTypeID INTEGER,
    IntroductionTypeID INTEGER,
    PricingMethodID INTEGER,
    PreConditionID INTEGER,
    ObjectID1 INTEGER,
    ObjectID2 INTEGER,
    IsPaidByCash FLAG,
    IsFromDispatch FLAG,
    PromoterID INTEGER,
    PromoterID2 INTEGER,
    AchieverID INTEGER,
    DistributerID INTEGER,
    CreatorID INTEGER,
    CreatorEmployeeID INTEGER,
    CardNo BIGINT,
    DistributionInvoiceID INTEGER,
    SaleOrderID INTEGER,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE,
    DeliverDate DATETIME,
    FarsiDeliverDate FARSIDATE,
    ClearDate DATETIME,
    FarsiClearDate FARSIDATE,
    IsFormal FLAG,
    IsCheckEchantillon FLAG,
    ShouldSMSSend FLAG,
    UsedCredit MONEY,
    RemCredit MONEY,
    CreditDays INTEGER,
    Notes VARCHAR(2000),
    CustomerMessage VARCHAR(200),
    DiscountTypeID INTEGER,
    DiscountPercent PERCENT,
    DiscountValue MONEY,
    SuchargeValue MONEY,
    ShortageValue MONEY,
    Value MONEY,
    TotalValue MONEY,
    PureTotalValue MONEY,
    PrintCount INTEGER,
    LotteryPrintCount INTEGER,
    LastLotteryPrintUserID INTEGER,
    LastLotteryPrintDate DATETIME,
    FarsiLastLotteryPrintDate FARSIDATE,
    UpdaterID INTEGER,
    UpdateDate DATETIME,
    FarsiUpdateDate FARSIDATE,
    SumQty MONEY NOT NULL DEFAULT 0,
    TitlesNum INTEGER NOT NULL DEFAULT 0,
    RowDiscountValue MONEY NOT NULL DEFAULT 0,
    CalcTotalValue MONEY NOT NULL DEFAULT 0,
    SuCharge MONEY NOT NULL DEFAULT 0
);
-- The lists filter "Code = -1" (temporary) or "Code <> -1" and show the newest first.
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_State ON tblSaleInvoice (coalesce(Code, -1), CreateDate, ID);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_CreateDate ON tblSaleInvoice (CreateDate, ID);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_Code ON tblSaleInvoice (Code);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_CustomerID ON tblSaleInvoice (CustomerID, CreateDate);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_PromoterID ON tblSaleInvoice (PromoterID);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_TypeID ON tblSaleInvoice (TypeID);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_InventoryID ON tblSaleInvoice (InventoryID);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_DistributionInvoiceID ON tblSaleInvoice (DistributionInvoiceID);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_SaleOrderID ON tblSaleInvoice (SaleOrderID);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_CardNo ON tblSaleInvoice (CardNo);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_ObjectID1 ON tblSaleInvoice (ObjectID1);

-- One line; within its invoice a line is found by barcode, unit and description, so the
-- description is never NULL. DiscountValue is the discount of the whole line; TaxValue and
-- AddedValue likewise. A NULL PromoterID means the invoice's promoter.
CREATE TABLE IF NOT EXISTS tblSaleInvoiceDetail (
    ID IDENTITY,
    InvoiceID INTEGER NOT NULL,
    RowNumber INTEGER,
    Barcode VARCHAR(50) NOT NULL,
    Description VARCHAR(500) DEFAULT '',
    ScaleID INTEGER,
    Qty MONEY,
    RetailPrice MONEY,
    DiscountTypeID INTEGER,
    DiscountPercent PERCENT,
    DiscountValue MONEY,
    ServicedBarCode VARCHAR(50),
    InitialQty MONEY,
    InitialScaleID INTEGER,
    ChangeReasonSequence INTEGER,
    ConstructionFeePercent PERCENT,
    ConstructionFeeValue MONEY,
    ProfitPercent PERCENT,
    WorkFee MONEY,
    TaxValue MONEY,
    AddedValue MONEY,
    PricingMethodID INTEGER,
    PromoterID INTEGER,
    IsEchantillon FLAG DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceDetail_InvoiceID ON tblSaleInvoiceDetail (InvoiceID, RowNumber);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceDetail_Barcode ON tblSaleInvoiceDetail (Barcode, InvoiceID);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceDetail_PromoterID ON tblSaleInvoiceDetail (PromoterID);

-- A stored line's discount split by kind: 1 the line's own, 2 card, 3 birthday.
CREATE TABLE IF NOT EXISTS tblSaleInvoiceDetailDiscount (
    ID IDENTITY,
    InvoiceID INTEGER NOT NULL,
    Barcode VARCHAR(50) NOT NULL,
    Description VARCHAR(500) DEFAULT '',
    ScaleID INTEGER,
    DiscountTypeID INTEGER NOT NULL,
    DiscountPercent PERCENT,
    DiscountValue MONEY
);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceDetailDiscount_InvoiceID ON tblSaleInvoiceDetailDiscount (InvoiceID, Barcode);

CREATE TABLE IF NOT EXISTS tblSaleInvoiceDetailTrace (
    ID IDENTITY,
    InvoiceID INTEGER NOT NULL,
    Barcode VARCHAR(50) NOT NULL,
    ScaleID INTEGER,
    TracePropertyTypeID1 INTEGER,
    TracePropertyTypeID2 INTEGER,
    TracePropertyTypeID3 INTEGER,
    TracePropertyTypeID4 INTEGER,
    Qty MONEY,
    ScaleQty MONEY,
    Sequence INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceDetailTrace_InvoiceID ON tblSaleInvoiceDetailTrace (InvoiceID);

-- Weighing-station barcodes already copied into an invoice; a barcode is used once.
CREATE TABLE IF NOT EXISTS tblSaleInvoiceScaleBarcode (
    ID IDENTITY,
    InvoiceID INTEGER NOT NULL,
    ScaleBarcode VARCHAR(100) NOT NULL,
    CreatorID INTEGER,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE
);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceScaleBarcode_InvoiceID ON tblSaleInvoiceScaleBarcode (InvoiceID);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceScaleBarcode_ScaleBarcode ON tblSaleInvoiceScaleBarcode (ScaleBarcode);

CREATE TABLE IF NOT EXISTS tblSaleInvoiceSucharge (
    ID IDENTITY,
    InvoiceID INTEGER NOT NULL,
    SuchargeTypeID INTEGER NOT NULL,
    Value MONEY
);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceSucharge_InvoiceID ON tblSaleInvoiceSucharge (InvoiceID);

CREATE TABLE IF NOT EXISTS tblSaleInvoiceShortage (
    ID IDENTITY,
    InvoiceID INTEGER NOT NULL,
    ShortageTypeID INTEGER NOT NULL,
    Value MONEY,
    ShortagePercent PERCENT
);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceShortage_InvoiceID ON tblSaleInvoiceShortage (InvoiceID);

-- The accounts an invoice of the type is posted to, and its dispatch type. A type that
-- generates sale assignments is a wholesale type; IsGoldSilverPlatinum sells precious metals.
CREATE TABLE IF NOT EXISTS tblSaleInvoiceType (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL,
    IsGoldSilverPlatinum FLAG DEFAULT 0,
    GenerateSaleAssignment FLAG DEFAULT 0,
    DispatchTypeID INTEGER,
    CreditAccountID INTEGER,
    DebitAccountID INTEGER,
    DiscountAccountID INTEGER,
    TaxAccountID INTEGER,
    AddedAccountID INTEGER,
    RoundAccountID INTEGER,
    DescAccountID INTEGER,
    SuchargeAccountID INTEGER,
    TotalDiscountAccountID INTEGER,
    StackholderDiscountAccountID INTEGER,
    StackholderShareAccountID INTEGER,
    AdversDiscountAccountID INTEGER,
    AdversShareAccountID INTEGER,
    EduDiscountAccountID INTEGER,
    EduShareAccountID INTEGER,
    IsActive FLAG DEFAULT 1
);
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoiceType_DebitAccountID ON tblSaleInvoiceType (DebitAccountID);

CREATE TABLE IF NOT EXISTS tblSalePricingMethod (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL,
    MakeVisibleInSelection FLAG
);

-- The methods a user may use; IsDefault first, then Sequence (NULL counts as 999).
CREATE TABLE IF NOT EXISTS tblSalePricingMethodUser (
    UserID INTEGER NOT NULL,
    PricingMethodID INTEGER NOT NULL,
    IsDefault FLAG,
    Sequence INTEGER,
    PRIMARY KEY (UserID, PricingMethodID)
);

-- Payment kinds, fixed: 1 cash, 2 credit.
CREATE TABLE IF NOT EXISTS tblSalePaidByCash (
    ID INTEGER NOT NULL PRIMARY KEY,
    Name VARCHAR(100) NOT NULL
);

-- The payment kinds a user may choose; a user without rows may choose every kind.
CREATE TABLE IF NOT EXISTS tblSalePaidByCashUser (
    UserID INTEGER NOT NULL,
    PaidByCashID INTEGER NOT NULL,
    PRIMARY KEY (UserID, PaidByCashID)
);

-- ClearDateNum: days to settlement.
CREATE TABLE IF NOT EXISTS tblSalePreCondition (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL,
    ClearDateNum INTEGER
);

CREATE TABLE IF NOT EXISTS tblSaleDeliverType (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL
);

-- Messages printed for the customer; the IsPrimary one is the default of a new invoice.
CREATE TABLE IF NOT EXISTS tblSaleMessage (
    ID IDENTITY,
    Message VARCHAR(200) NOT NULL,
    IsPrimary FLAG DEFAULT 0
);

-- The largest invoice total a position may approve.
CREATE TABLE IF NOT EXISTS tblSaleCreditLevel (
    ID IDENTITY,
    Name VARCHAR(200),
    UpToValue MONEY
);

-- A range of promoter cards and the promoters it names.
CREATE TABLE IF NOT EXISTS tblSalePromoterCard (
    ID IDENTITY,
    CardNoFrom BIGINT NOT NULL,
    CardNoTo BIGINT NOT NULL,
    PromoterID1 INTEGER,
    PromoterID2 INTEGER,
    ExpireDate DATETIME,
    FarsiExpireDate FARSIDATE
);
CREATE INDEX IF NOT EXISTS ix_tblSalePromoterCard_Range ON tblSalePromoterCard (CardNoFrom, CardNoTo);

-- Master discount by invoice value; a NULL bound is open.
CREATE TABLE IF NOT EXISTS tblSaleInvoiceDiscountSetting (
    ID IDENTITY,
    minValue MONEY,
    maxValue MONEY,
    DiscountPercent PERCENT
);

-- Tax and duty percentages over a date range.
CREATE TABLE IF NOT EXISTS tblSaleTaxCostsConfiguration (
    ID IDENTITY,
    BeginDate DATETIME,
    FarsiBeginDate FARSIDATE,
    EndDate DATETIME,
    FarsiEndDate FARSIDATE,
    TaxPercent PERCENT,
    AddedPercent PERCENT
);

-- A promotion is valid between two Jalali dates; its details (keyed by Sequence) hold the
-- conditions and what is granted. The details have no ID of their own, so that "select *" over
-- the join reads the promotion's ID.
CREATE TABLE IF NOT EXISTS tblSalePromotion (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(300),
    BeginDate DATETIME,
    FarsiBeginDate FARSIDATE,
    EndDate DATETIME,
    FarsiEndDate FARSIDATE,
    IsActive FLAG DEFAULT 1
);
CREATE INDEX IF NOT EXISTS ix_tblSalePromotion_Dates ON tblSalePromotion (FarsiBeginDate, FarsiEndDate);

CREATE TABLE IF NOT EXISTS tblSalePromotionDetail (
    PromotionID INTEGER NOT NULL,
    Sequence INTEGER NOT NULL,
    PriorityNo INTEGER,
    Notes VARCHAR(1000),
    DiscountQty MONEY,
    DiscountPercent PERCENT,
    NegativeRowCountFix INTEGER,
    PositiveRowCountMax INTEGER,
    PositiveRowCountMin INTEGER,
    ValueFrom MONEY,
    ValueTo MONEY,
    Qty MONEY,
    IsComposite FLAG,
    isDiscountCheapestOne FLAG,
    IsDiscountOtherGoods FLAG,
    IsDiscountGoodSelf FLAG,
    IsOverDiscount FLAG,
    DiscountScaleID INTEGER,
    ScaleID INTEGER,
    PRIMARY KEY (PromotionID, Sequence)
);

CREATE TABLE IF NOT EXISTS tblSalePromotionDetailGood (
    ID IDENTITY,
    PromotionID INTEGER NOT NULL,
    Sequence INTEGER NOT NULL,
    Barcode VARCHAR(50) NOT NULL,
    isPositive FLAG
);
CREATE INDEX IF NOT EXISTS ix_tblSalePromotionDetailGood_Detail ON tblSalePromotionDetailGood (PromotionID, Sequence);

CREATE TABLE IF NOT EXISTS tblSalePromotionDetailGoodGroup (
    ID IDENTITY,
    PromotionID INTEGER NOT NULL,
    Sequence INTEGER NOT NULL,
    GoodGroupID INTEGER NOT NULL,
    isPositive FLAG
);
CREATE INDEX IF NOT EXISTS ix_tblSalePromotionDetailGoodGroup_Detail ON tblSalePromotionDetailGoodGroup (PromotionID, Sequence);

CREATE TABLE IF NOT EXISTS tblSalePromotionDetailEchantillonGood (
    ID IDENTITY,
    PromotionID INTEGER NOT NULL,
    Sequence INTEGER NOT NULL,
    Barcode VARCHAR(50) NOT NULL
);
CREATE INDEX IF NOT EXISTS ix_tblSalePromotionDetailEchantillonGood_Detail ON tblSalePromotionDetailEchantillonGood (PromotionID, Sequence);

CREATE TABLE IF NOT EXISTS tblSaleOrder (
    ID IDENTITY,
    Code INTEGER,
    ManualCode VARCHAR(50),
    CustomerID INTEGER,
    InventoryID INTEGER,
    PromoterID INTEGER,
    CreatorID INTEGER,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE,
    Notes VARCHAR(2000)
);
CREATE INDEX IF NOT EXISTS ix_tblSaleOrder_CustomerID ON tblSaleOrder (CustomerID);

-- SoldQty: the part of the ordered quantity already invoiced.
CREATE TABLE IF NOT EXISTS tblSaleOrderDetail (
    ID IDENTITY,
    OrderID INTEGER NOT NULL,
    RowNumber INTEGER,
    Barcode VARCHAR(50) NOT NULL,
    ScaleID INTEGER,
    Qty MONEY,
    SoldQty MONEY,
    RetailPrice MONEY
);
CREATE INDEX IF NOT EXISTS ix_tblSaleOrderDetail_OrderID ON tblSaleOrderDetail (OrderID);
CREATE INDEX IF NOT EXISTS ix_tblSaleOrderDetail_Barcode ON tblSaleOrderDetail (Barcode, OrderID);

CREATE TABLE IF NOT EXISTS tblSaleAssignment (
    ID IDENTITY,
    Code INTEGER,
    SaleInvoiceID INTEGER,
    InventoryID INTEGER,
    CreatorID INTEGER,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE,
    Notes VARCHAR(2000)
);
CREATE INDEX IF NOT EXISTS ix_tblSaleAssignment_SaleInvoiceID ON tblSaleAssignment (SaleInvoiceID);

CREATE TABLE IF NOT EXISTS tblSaleReturn (
    ID IDENTITY,
    Code INTEGER,
    SaleInvoiceID INTEGER,
    CustomerID INTEGER,
    CreatorID INTEGER,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE,
    TotalValue MONEY,
    PureTotalValue MONEY,
    Notes VARCHAR(2000)
);
CREATE INDEX IF NOT EXISTS ix_tblSaleReturn_SaleInvoiceID ON tblSaleReturn (SaleInvoiceID);
CREATE INDEX IF NOT EXISTS ix_tblSaleReturn_CustomerID ON tblSaleReturn (CustomerID);
