-- Views, recreated on every install (dropped in reverse order first), so a changed definition
-- always lands. A Major view is a selector's list (ID, Code, Name, ...), its Minor view the
-- detail of one row (ID, ...). A view that reads another comes after it.
-- Names of people: a person is FirstName + Name (organisations) or FirstName + SureName
-- (employees); a company has only Name.

CREATE VIEW vwZelorBasePath AS
SELECT c.ID, coalesce(c.BasePath, '') AS BasePath
FROM tblZelorCompany c
WHERE coalesce(c.IsActive, 1) = 1;

CREATE VIEW vwZelorCompany AS
SELECT c.ID, c.Name, c.Address, c.Phone, c.Fax, c.Email, c.EconomicCode
FROM tblZelorCompany c
WHERE coalesce(c.IsActive, 1) = 1;

CREATE VIEW vwZelorSuchargeTypeMajor AS
SELECT t.ID, t.Code, t.Name, t.AccountCode
FROM tblZelorSuchargeType t;

CREATE VIEW vwZelorSuchargeTypeMinor AS
SELECT t.ID, t.Code, t.Name, t.AccountCode,
       (SELECT a.Title FROM tblAccount a WHERE a.Code = t.AccountCode ORDER BY a.ID LIMIT 1) AS AccountTitle
FROM tblZelorSuchargeType t;

CREATE VIEW vwZelorShortageTypeMajor AS
SELECT t.ID, t.Code, t.Name, t.AccountCode
FROM tblZelorShortageType t;

CREATE VIEW vwZelorShortageTypeMinor AS
SELECT t.ID, t.Code, t.Name, t.AccountCode
FROM tblZelorShortageType t;

CREATE VIEW vwUserMajor AS
SELECT u.ID, u.UserName AS Code, u.FullName AS Name, u.BranchID, u.IsActive
FROM tblUser u;

CREATE VIEW vwUserMinor AS
SELECT u.ID, u.UserName, u.FullName, u.BranchID, b.Name AS BranchName, u.PositionID,
       p.Name AS PositionName, u.EmployeeID, u.IsAdmin, u.IsActive
FROM tblUser u
LEFT JOIN tblAccountBranch b ON b.ID = u.BranchID
LEFT JOIN tblPosition p ON p.ID = u.PositionID;

CREATE VIEW vwOrganizationMajor AS
SELECT o.ID, o.Code, trim(coalesce(o.FirstName, '') || ' ' || coalesce(o.Name, '')) AS Name,
       o.WorkActivityID, o.BranchID, o.IsActive
FROM tblOrganization o;

CREATE VIEW vwOrganizationMinor AS
SELECT o.ID, o.Code, trim(coalesce(o.FirstName, '') || ' ' || coalesce(o.Name, '')) AS Name,
       o.Phone1, o.CellPhone, o.Address, o.Email, o.NationalCode, o.FarsiBirthDate,
       it.Name AS IntroductionTypeName, wa.Name AS WorkActivityName,
       cd.Name AS CustomerDegreeName, b.Name AS BranchName, o.IsActive
FROM tblOrganization o
LEFT JOIN tblOrganizationIntroductionType it ON it.ID = o.IntroductionTypeID
LEFT JOIN tblZelorWorkActivity wa ON wa.ID = o.WorkActivityID
LEFT JOIN tblOrganizationCustomerDegree cd ON cd.ID = o.CustomerDegreeID
LEFT JOIN tblAccountBranch b ON b.ID = o.BranchID;

-- The customers' list of the search form, and of the header when lists are limited by position.
CREATE VIEW vwOrganizations AS
SELECT o.ID, o.Code, trim(coalesce(o.FirstName, '') || ' ' || coalesce(o.Name, '')) AS Name,
       o.FirstName, o.Name AS LastName, o.Phone1, o.CellPhone, o.Address, o.WorkActivityID,
       o.CustomerDegreeID, o.IntroductionTypeID, o.BranchID, o.IsActive
FROM tblOrganization o;

-- The customers' list with codes and addresses.
CREATE VIEW vwOrganizationCodeAddressMajor AS
SELECT o.ID, o.Code,
       coalesce(o.Code, '') || ' - ' || trim(coalesce(o.FirstName, '') || ' ' || coalesce(o.Name, ''))
           || ' - ' || coalesce(o.Address, '') AS Name,
       o.WorkActivityID, o.BranchID, o.IsActive
FROM tblOrganization o;

CREATE VIEW vwOrganizationBranch AS
SELECT o.ID AS OrganizationID, o.BranchID
FROM tblOrganization o
WHERE o.BranchID IS NOT NULL
UNION
SELECT ob.OrganizationID, ob.BranchID
FROM tblOrganizationBranch ob;

CREATE VIEW vwOrganizationIntroductionTypeMajor AS
SELECT t.ID, t.Code, t.Name
FROM tblOrganizationIntroductionType t;

CREATE VIEW vwOrganizationIntroductionTypeMinor AS
SELECT t.ID, t.Code, t.Name
FROM tblOrganizationIntroductionType t;

CREATE VIEW vwEmployee AS
SELECT e.ID, e.Code, trim(coalesce(e.FirstName, '') || ' ' || coalesce(e.SureName, '')) AS Name,
       e.ParentID, e.BranchID, e.UserID, e.IsActive
FROM tblEmployee e;

CREATE VIEW vwEmployeeMajor AS
SELECT e.ID, e.Code, trim(coalesce(e.FirstName, '') || ' ' || coalesce(e.SureName, '')) AS Name,
       e.ParentID, e.BranchID, e.UserID, e.IsActive
FROM tblEmployee e;

CREATE VIEW vwEmployee_SaleInvoiceMajor AS
SELECT e.ID, e.Code, trim(coalesce(e.FirstName, '') || ' ' || coalesce(e.SureName, '')) AS Name,
       e.ParentID, e.BranchID, e.UserID, e.IsActive
FROM tblEmployee e;

CREATE VIEW vwEmployeeMinor AS
SELECT e.ID, e.Code, e.FirstName, e.SureName,
       trim(coalesce(e.FirstName, '') || ' ' || coalesce(e.SureName, '')) AS Name, e.Phone,
       trim(coalesce(pe.FirstName, '') || ' ' || coalesce(pe.SureName, '')) AS ParentName,
       b.Name AS BranchName, u.UserName, e.IsActive
FROM tblEmployee e
LEFT JOIN tblEmployee pe ON pe.ID = e.ParentID
LEFT JOIN tblAccountBranch b ON b.ID = e.BranchID
LEFT JOIN tblUser u ON u.ID = e.UserID;

CREATE VIEW vwEmployeeBranch AS
SELECT e.ID AS EmployeeID, e.BranchID
FROM tblEmployee e
WHERE e.BranchID IS NOT NULL
UNION
SELECT eb.EmployeeID, eb.BranchID
FROM tblEmployeeBranch eb;

-- Promoters are employees; only a leaf of the employee tree may stand on an invoice.
CREATE VIEW vwSalePromoterMajor AS
SELECT e.ID, e.Code, trim(coalesce(e.FirstName, '') || ' ' || coalesce(e.SureName, '')) AS Name,
       e.ParentID, e.BranchID,
       CASE WHEN EXISTS (SELECT 1 FROM tblEmployee c WHERE c.ParentID = e.ID) THEN 0 ELSE 1 END AS IsLeaf,
       e.IsActive
FROM tblEmployee e;

CREATE VIEW vwSalePromoterMinor AS
SELECT e.ID, e.Code, trim(coalesce(e.FirstName, '') || ' ' || coalesce(e.SureName, '')) AS Name,
       e.Phone, e.IncomingSalePercent,
       trim(coalesce(pe.FirstName, '') || ' ' || coalesce(pe.SureName, '')) AS ParentName,
       b.Name AS BranchName,
       CASE WHEN EXISTS (SELECT 1 FROM tblEmployee c WHERE c.ParentID = e.ID) THEN 0 ELSE 1 END AS IsLeaf
FROM tblEmployee e
LEFT JOIN tblEmployee pe ON pe.ID = e.ParentID
LEFT JOIN tblAccountBranch b ON b.ID = e.BranchID;

-- A goods item as a line sees it: the sale unit (its own, else the base unit) with its factor.
CREATE VIEW vwGoodInfo AS
SELECT g.ID, g.Barcode AS BarCode, g.Code, g.Name, g.GoodGroupID, gg.Name AS GoodGroupName,
       g.ScaleID, coalesce(g.SaleScaleID, g.ScaleID) AS SaleScaleID, sc.Name AS UnitName,
       coalesce(sc.ScaleToBaseParent, 1) AS ScaleToBaseParent, g.RetailPrice, g.BuyPrice,
       g.StandardDiscountPercent, g.StandardDiscountValue AS StandardDiscountvalue,
       coalesce(g.HasTax, 0) AS HasTax, coalesce(g.HasAdded, 0) AS HasAdded, g.EsTreshold,
       g.LoanExpireDuration, coalesce(g.IsActive, 1) AS IsActive
FROM tblGood g
LEFT JOIN tblGoodScale sc ON sc.ID = coalesce(g.SaleScaleID, g.ScaleID)
LEFT JOIN tblGoodGroup gg ON gg.ID = g.GoodGroupID;

CREATE VIEW vwGoodMajor AS
SELECT g.ID, g.Code, g.Name, g.Barcode, g.GoodGroupID, g.IsActive
FROM tblGood g;

CREATE VIEW vwGoodMinor AS
SELECT g.ID, g.Barcode, g.Code, g.Name, sc.Name AS UnitName, g.RetailPrice,
       gg.Name AS GoodGroupName, g.IsActive
FROM tblGood g
LEFT JOIN tblGoodScale sc ON sc.ID = coalesce(g.SaleScaleID, g.ScaleID)
LEFT JOIN tblGoodGroup gg ON gg.ID = g.GoodGroupID;

CREATE VIEW vwGoodScaleMajor AS
SELECT sc.ID, sc.Code, sc.Name, coalesce(sc.ScaleToBaseParent, 1) AS ScaleToBaseParent,
       coalesce(sc.IsInteger, 0) AS IsInteger
FROM tblGoodScale sc;

CREATE VIEW vwGoodScaleMinor AS
SELECT sc.ID, sc.Code, sc.Name, coalesce(sc.ScaleToBaseParent, 1) AS ScaleToBaseParent,
       coalesce(sc.IsInteger, 0) AS IsInteger, p.Name AS BaseScaleName
FROM tblGoodScale sc
LEFT JOIN tblGoodScale p ON p.ID = sc.ParentID;

CREATE VIEW vwGoodGroup_CodeMajor AS
SELECT gg.ID, gg.Code, gg.Name, gg.ParentID
FROM tblGoodGroup gg;

CREATE VIEW vwGoodGroupMinor AS
SELECT gg.ID, gg.Code, gg.Name, p.Name AS ParentName
FROM tblGoodGroup gg
LEFT JOIN tblGoodGroup p ON p.ID = gg.ParentID;

-- The packing units of each barcode, for the packing list of printed invoices.
CREATE VIEW vwBPGoodPacking AS
SELECT ss.Barcode, ss.ScaleID, sc.Name AS ScaleName,
       coalesce(sc.ScaleToBaseParent, 1) AS ScaleToBaseParent
FROM tblGoodSaleScale ss
LEFT JOIN tblGoodScale sc ON sc.ID = ss.ScaleID;

CREATE VIEW vwInventoryMajor AS
SELECT i.ID, i.Code, i.Name, i.ParentID, i.StatusTypeID, i.CheckExistance, i.BranchID, i.IsActive
FROM tblInventory i;

CREATE VIEW vwInventoryMinor AS
SELECT i.ID, i.Code, i.Name, p.Name AS ParentName,
       trim(coalesce(e.FirstName, '') || ' ' || coalesce(e.SureName, '')) AS ResponsibleName,
       b.Name AS BranchName, i.StatusTypeID, i.CheckExistance
FROM tblInventory i
LEFT JOIN tblInventory p ON p.ID = i.ParentID
LEFT JOIN tblEmployee e ON e.ID = i.ResponsibleID
LEFT JOIN tblAccountBranch b ON b.ID = i.BranchID;

-- Every stock movement in base units: receipts add, dispatches subtract. A dispatch carries the
-- document it was issued for, so that an invoice's own dispatch can be left out.
CREATE VIEW vwInventoryStockMovement AS
SELECT r.InventoryID, d.Barcode, r.ReceiveDate AS MoveDate,
       CAST(coalesce(d.Qty, 0) * coalesce(sc.ScaleToBaseParent, 1) AS MONEY) AS BaseQty,
       CAST(NULL AS INTEGER) AS DispatchFormTypeID, CAST(NULL AS INTEGER) AS DispatchFormID,
       r.ID AS DocumentID, 1 AS MoveKind
FROM tblInventoryReceiptDetail d
INNER JOIN tblInventoryReceipt r ON r.ID = d.ReceiptID
LEFT JOIN tblGoodScale sc ON sc.ID = d.ScaleID
UNION ALL
SELECT x.InventoryID, d.Barcode, x.ReceiveDate AS MoveDate,
       CAST(0 - coalesce(d.Qty, 0) * coalesce(sc.ScaleToBaseParent, 1) AS MONEY) AS BaseQty,
       x.FormTypeID AS DispatchFormTypeID, x.FormID AS DispatchFormID,
       x.ID AS DocumentID, 2 AS MoveKind
FROM tblInventoryDispatchDetail d
INNER JOIN tblInventoryDispatch x ON x.ID = d.DispatchID
LEFT JOIN tblGoodScale sc ON sc.ID = d.ScaleID;

CREATE VIEW vwAccountMajor AS
SELECT a.ID, a.Code, a.Title AS Name, a.ParentID, a.AccountGroupID, a.IsClosed,
       CASE WHEN EXISTS (SELECT 1 FROM tblAccount c WHERE c.ParentID = a.ID) THEN 0 ELSE 1 END AS IsLeaf
FROM tblAccount a;

CREATE VIEW vwAccountMinor AS
SELECT a.ID, a.Code, a.Title, p.Code AS ParentCode, p.Title AS ParentTitle, a.IsClosed
FROM tblAccount a
LEFT JOIN tblAccount p ON p.ID = a.ParentID;

CREATE VIEW vwAccountBranchMajor AS
SELECT b.ID, b.Code, b.Name, b.ParentID, b.IsActive
FROM tblAccountBranch b;

CREATE VIEW vwAccountBranchMinor AS
SELECT b.ID, b.Code, b.Name, p.Name AS ParentName, b.IsActive
FROM tblAccountBranch b
LEFT JOIN tblAccountBranch p ON p.ID = b.ParentID;

CREATE VIEW vwAccountContractProject AS
SELECT cp.ID, cp.Code, cp.Name, cp.ParentID, cp.OrganizationID, cp.IsActive
FROM tblAccountContractProject cp;

CREATE VIEW vwAccountContractProjectMinor AS
SELECT cp.ID, cp.Code, cp.Name, p.Name AS ParentName,
       trim(coalesce(o.FirstName, '') || ' ' || coalesce(o.Name, '')) AS OrganizationName,
       cp.FarsiBeginDate, cp.FarsiEndDate, cp.IsActive
FROM tblAccountContractProject cp
LEFT JOIN tblAccountContractProject p ON p.ID = cp.ParentID
LEFT JOIN tblOrganization o ON o.ID = cp.OrganizationID;

-- The accounts each position may see.
CREATE VIEW vwAccountSecurePositions AS
SELECT sp.AccountID, sp.PositionID
FROM tblAccountSecurePosition sp;

-- Documents that count in balances (pre-documents are drafts).
CREATE VIEW vwAccountNonPreDocument AS
SELECT d.ID, d.Code, d.DayNo, d.DocumentDate, d.FarsiDocumentDate, d.Value, d.Description,
       d.IsFinalized
FROM tblAccountDocument d
WHERE coalesce(d.IsPreDocument, 0) = 0;

CREATE VIEW vwSalePricingMethodMajor AS
SELECT m.ID, m.Code, m.Name, coalesce(m.MakeVisibleInSelection, 1) AS MakeVisibleInSelection
FROM tblSalePricingMethod m;

CREATE VIEW vwSalePricingMethodMinor AS
SELECT m.ID, m.Code, m.Name, coalesce(m.MakeVisibleInSelection, 1) AS MakeVisibleInSelection
FROM tblSalePricingMethod m;

CREATE VIEW vwSalePaidByCashMajor AS
SELECT p.ID, CAST(p.ID AS VARCHAR(20)) AS Code, p.Name
FROM tblSalePaidByCash p;

CREATE VIEW vwSalePaidByCashMinor AS
SELECT p.ID, CAST(p.ID AS VARCHAR(20)) AS Code, p.Name
FROM tblSalePaidByCash p;

CREATE VIEW vwSaleInvoiceTypeMajor AS
SELECT t.ID, t.Code, t.Name, t.IsGoldSilverPlatinum, t.GenerateSaleAssignment, t.IsActive
FROM tblSaleInvoiceType t;

CREATE VIEW vwSaleInvoiceTypeMinor AS
SELECT t.ID, t.Code, t.Name, t.IsGoldSilverPlatinum, t.GenerateSaleAssignment,
       ca.Title AS CreditAccountTitle, da.Title AS DebitAccountTitle, t.IsActive
FROM tblSaleInvoiceType t
LEFT JOIN tblAccount ca ON ca.ID = t.CreditAccountID
LEFT JOIN tblAccount da ON da.ID = t.DebitAccountID;

CREATE VIEW vwSalePreConditionMajor AS
SELECT p.ID, p.Code, p.Name, p.ClearDateNum
FROM tblSalePreCondition p;

CREATE VIEW vwSalePreConditionMinor AS
SELECT p.ID, p.Code, p.Name, p.ClearDateNum
FROM tblSalePreCondition p;

CREATE VIEW vwSaleDeliverTypeMajor AS
SELECT t.ID, t.Code, t.Name
FROM tblSaleDeliverType t;

CREATE VIEW vwSaleDeliverTypeMinor AS
SELECT t.ID, t.Code, t.Name
FROM tblSaleDeliverType t;

CREATE VIEW vwCRMCardTypeMajor AS
SELECT t.ID, t.Code, t.Name
FROM tblCRMCardType t;

CREATE VIEW vwCRMCardTypeMinor AS
SELECT t.ID, t.Code, t.Name, t.MinGrade
FROM tblCRMCardType t;

-- The card in force of each organisation: its latest.
CREATE VIEW vwCRMOrganizationFinalCard AS
SELECT c.ID AS CardID, c.OrganizationID, c.CardTypeID, t.Name AS CardTypeName, c.TotalGrade,
       c.TotalValue, c.IssueDate, c.FarsiIssueDate
FROM tblCRMOrganizationCard c
LEFT JOIN tblCRMCardType t ON t.ID = c.CardTypeID
WHERE c.ID = (SELECT max(x.ID) FROM tblCRMOrganizationCard x WHERE x.OrganizationID = c.OrganizationID);

-- The amounts of one line, as the line grid computes them: gross, after its discount (never
-- below 0), the making wage and profit of precious-metal lines, and the line total with
-- commission, tax and duty. Percentages are taken as exact numbers.
CREATE VIEW vwSaleInvoiceDetailValue AS
SELECT q.ID, q.InvoiceID, q.RowNumber, q.Barcode, q.Description, q.ScaleID, q.Qty, q.RetailPrice,
       q.DiscountTypeID, q.DiscountPercent, q.DiscountValue, q.TaxValue, q.AddedValue,
       q.IsEchantillon, q.PricingMethodID, q.PromoterID, q.GrossValue, q.NetValue, q.FeeValue,
       CAST((q.NetValue + q.FeeValue) * q.ProfitPercent / 100.0 AS MONEY) AS ProfitValue,
       CAST((q.NetValue + q.FeeValue) * (100.0 + q.ProfitPercent) / 100.0
            + q.WorkFee + q.TaxValue + q.AddedValue AS MONEY) AS RowTotalValue
FROM (SELECT d.ID, d.InvoiceID, d.RowNumber, d.Barcode, d.Description, d.ScaleID, d.Qty,
             d.RetailPrice, d.DiscountTypeID, d.DiscountPercent,
             coalesce(d.DiscountValue, 0) AS DiscountValue, coalesce(d.TaxValue, 0) AS TaxValue,
             coalesce(d.AddedValue, 0) AS AddedValue, coalesce(d.WorkFee, 0) AS WorkFee,
             coalesce(d.IsEchantillon, 0) AS IsEchantillon, d.PricingMethodID, d.PromoterID,
             CAST(coalesce(d.ProfitPercent, 0) AS MONEY) AS ProfitPercent,
             CAST(coalesce(d.Qty, 0) * coalesce(d.RetailPrice, 0) AS MONEY) AS GrossValue,
             CAST(CASE WHEN coalesce(d.Qty, 0) * coalesce(d.RetailPrice, 0) < coalesce(d.DiscountValue, 0) THEN 0
                       ELSE coalesce(d.Qty, 0) * coalesce(d.RetailPrice, 0) - coalesce(d.DiscountValue, 0)
                  END AS MONEY) AS NetValue,
             CAST(coalesce(d.Qty, 0) * coalesce(d.RetailPrice, 0)
                  * CAST(coalesce(d.ConstructionFeePercent, 0) AS MONEY) / 100.0
                  + coalesce(d.ConstructionFeeValue, 0) * coalesce(d.Qty, 0) AS MONEY) AS FeeValue
      FROM tblSaleInvoiceDetail d) q;

-- Totals of an invoice computed from its rows. Counts take every line; amounts only the lines
-- that are paid for (free goods are given away). CalcTotalValue is what the invoice comes to
-- before the grand total is rounded.
CREATE VIEW vwSaleInvoiceSummary AS
SELECT s.ID, s.Code, s.CustomerID, s.CreateDate, s.FarsiCreateDate,
       (SELECT count(DISTINCT d.Barcode) FROM tblSaleInvoiceDetail d WHERE d.InvoiceID = s.ID) AS TitlesNum,
       (SELECT CAST(coalesce(sum(d.Qty), 0) AS MONEY) FROM tblSaleInvoiceDetail d WHERE d.InvoiceID = s.ID) AS SumQty,
       (SELECT CAST(coalesce(sum(v.GrossValue), 0) AS MONEY) FROM vwSaleInvoiceDetailValue v
        WHERE v.InvoiceID = s.ID AND v.IsEchantillon = 0) AS SumPrice,
       (SELECT CAST(coalesce(sum(v.DiscountValue), 0) AS MONEY) FROM vwSaleInvoiceDetailValue v
        WHERE v.InvoiceID = s.ID AND v.IsEchantillon = 0) AS RowDiscountValue,
       (SELECT CAST(coalesce(sum(v.TaxValue), 0) AS MONEY) FROM vwSaleInvoiceDetailValue v
        WHERE v.InvoiceID = s.ID AND v.IsEchantillon = 0) AS TaxValue,
       (SELECT CAST(coalesce(sum(v.AddedValue), 0) AS MONEY) FROM vwSaleInvoiceDetailValue v
        WHERE v.InvoiceID = s.ID AND v.IsEchantillon = 0) AS AddedValue,
       coalesce(s.DiscountValue, 0) AS DiscountValue, coalesce(s.SuchargeValue, 0) AS SuchargeValue,
       coalesce(s.ShortageValue, 0) AS ShortageValue, coalesce(s.TotalValue, 0) AS TotalValue,
       CAST((SELECT coalesce(sum(v.RowTotalValue), 0) FROM vwSaleInvoiceDetailValue v
             WHERE v.InvoiceID = s.ID AND v.IsEchantillon = 0)
            + coalesce(s.SuchargeValue, 0) - coalesce(s.DiscountValue, 0) - coalesce(s.ShortageValue, 0)
            AS MONEY) AS CalcTotalValue
FROM tblSaleInvoice s;

-- One row per invoice for the lists and the search form. Code is -1 for a temporary invoice.
-- A NULL IsPaidByCash or IsFormal reads as 1, as the form shows it.
-- RowDiscountValue, SuCharge, CalcTotalValue, SumQty and TitlesNum are the sums stored on the
-- invoice (RefreshInvoiceSums), as vwSaleInvoiceSummary computes them, read bare so that a
-- filter or an order on them can use an index.
CREATE VIEW vwSaleInvoiceSearch AS
SELECT s.ID, coalesce(s.Code, -1) AS Code, s.ManualCode, so.Code AS SLSOrderCode, s.SaleOrderID,
       s.DistributionInvoiceID, coalesce(s.IsPaidByCash, 1) AS IsPaidByCash,
       coalesce(s.IsFormal, 1) AS IsFormal, coalesce(s.IsFromDispatch, 0) AS IsFromDispatch,
       s.CreatorID, u.FullName AS CreatorName, s.CreatorEmployeeID, s.TypeID, t.Name AS TypeName,
       s.ContractID, cp.Name AS ContractName,
       s.PromoterID, trim(coalesce(p1.FirstName, '') || ' ' || coalesce(p1.SureName, '')) AS PromoterName,
       s.PromoterID2, trim(coalesce(p2.FirstName, '') || ' ' || coalesce(p2.SureName, '')) AS PromoterName2,
       s.AchieverID, s.DistributerID, s.PricingMethodID, pm.Name AS PricingGroup,
       s.PreConditionID, pc.Name AS SalePreCondition, s.ObjectID1, s.ObjectID2,
       s.BranchID, b.Name AS BranchName, s.InventoryID, i.Name AS InventoryName,
       s.CustomerID, trim(coalesce(c.FirstName, '') || ' ' || coalesce(c.Name, '')) AS CustomerName,
       c.Code AS CustomerCode, s.IntroductionTypeID, s.DeliverTypeID, s.CardNo,
       s.CreateDate, s.FarsiCreateDate, s.ClearDate, s.FarsiClearDate, s.DeliverDate,
       s.FarsiDeliverDate, s.FarsiDeliverDate AS FarsiDeliverDateTime,
       s.DiscountTypeID, coalesce(s.DiscountPercent, 0) AS DiscountPercent,
       coalesce(s.DiscountValue, 0) AS DiscountValue,
       s.RowDiscountValue, s.SuCharge,
       coalesce(s.SuchargeValue, 0) AS SuchargeValue, coalesce(s.ShortageValue, 0) AS ShortageValue,
       coalesce(s.Value, 0) AS Value, coalesce(s.PureTotalValue, 0) AS PureTotalValue,
       coalesce(s.TotalValue, 0) AS TotalValue,
       s.CalcTotalValue,
       s.Notes, s.CustomerMessage,
       s.SumQty, s.TitlesNum,
       coalesce(s.PrintCount, 0) AS PrintCount
FROM tblSaleInvoice s
LEFT JOIN tblOrganization c ON c.ID = s.CustomerID
LEFT JOIN tblUser u ON u.ID = s.CreatorID
LEFT JOIN tblEmployee p1 ON p1.ID = s.PromoterID
LEFT JOIN tblEmployee p2 ON p2.ID = s.PromoterID2
LEFT JOIN tblSalePricingMethod pm ON pm.ID = s.PricingMethodID
LEFT JOIN tblSalePreCondition pc ON pc.ID = s.PreConditionID
LEFT JOIN tblSaleInvoiceType t ON t.ID = s.TypeID
LEFT JOIN tblAccountBranch b ON b.ID = s.BranchID
LEFT JOIN tblInventory i ON i.ID = s.InventoryID
LEFT JOIN tblAccountContractProject cp ON cp.ID = s.ContractID
LEFT JOIN tblSaleOrder so ON so.ID = s.SaleOrderID;

-- One row per invoice line with its invoice's header, for the printed invoice; the seller's
-- economic code, which no formula carries, comes with it.
CREATE VIEW vwSaleInvoicePrint AS
SELECT s.ID AS InvoiceID, coalesce(s.Code, -1) AS Code, s.ManualCode, s.CreateDate,
       s.FarsiCreateDate, s.FarsiClearDate, s.FarsiDeliverDate,
       s.CustomerID, c.Code AS CustomerCode,
       trim(coalesce(c.FirstName, '') || ' ' || coalesce(c.Name, '')) AS CustomerName,
       c.Address AS CustomerAddress, c.Phone1 AS CustomerPhone, c.EconomicCode AS CustomerEconomicCode,
       c.NationalCode AS CustomerNationalCode,
       trim(coalesce(p1.FirstName, '') || ' ' || coalesce(p1.SureName, '')) AS PromoterName,
       u.FullName AS CreatorName, t.Name AS TypeName, i.Name AS InventoryName, b.Name AS BranchName,
       pm.Name AS PricingMethodName, pc.Name AS SalePreCondition,
       coalesce(s.DiscountPercent, 0) AS InvoiceDiscountPercent,
       coalesce(s.DiscountValue, 0) AS InvoiceDiscountValue,
       coalesce(s.SuchargeValue, 0) AS SuchargeValue, coalesce(s.ShortageValue, 0) AS ShortageValue,
       coalesce(s.TotalValue, 0) AS TotalValue, coalesce(s.PureTotalValue, 0) AS PureTotalValue,
       s.Notes, s.CustomerMessage,
       v.ID AS DetailID, v.RowNumber, v.Barcode, g.Code AS GoodCode, g.Name AS GoodName,
       v.Description, v.ScaleID, sc.Name AS ScaleName, v.Qty, v.RetailPrice, v.DiscountPercent,
       v.DiscountValue, v.TaxValue, v.AddedValue,
       CAST(v.TaxValue + v.AddedValue AS MONEY) AS TaxDutyValue,
       v.GrossValue, v.NetValue, v.RowTotalValue, v.IsEchantillon,
       (SELECT z.EconomicCode FROM vwZelorCompany z ORDER BY z.ID LIMIT 1) AS CompanyEconomicCode
FROM vwSaleInvoiceDetailValue v
INNER JOIN tblSaleInvoice s ON s.ID = v.InvoiceID
LEFT JOIN tblGood g ON g.Barcode = v.Barcode
LEFT JOIN tblGoodScale sc ON sc.ID = v.ScaleID
LEFT JOIN tblOrganization c ON c.ID = s.CustomerID
LEFT JOIN tblEmployee p1 ON p1.ID = s.PromoterID
LEFT JOIN tblUser u ON u.ID = s.CreatorID
LEFT JOIN tblSaleInvoiceType t ON t.ID = s.TypeID
LEFT JOIN tblInventory i ON i.ID = s.InventoryID
LEFT JOIN tblAccountBranch b ON b.ID = s.BranchID
LEFT JOIN tblSalePricingMethod pm ON pm.ID = s.PricingMethodID
LEFT JOIN tblSalePreCondition pc ON pc.ID = s.PreConditionID;

-- Cash boxes with each user permitted on them. No column may share a name with
-- tblRecPayCashTurn: the turn lists join the two and name its columns bare.
CREATE VIEW vwRecPayCashUsers AS
SELECT c.ID, c.Code, c.Name, cu.UserID AS CashPermitUserID
FROM tblRecPayCash c
INNER JOIN tblRecPayCashUser cu ON cu.CashID = c.ID
WHERE coalesce(c.IsActive, 1) = 1;

CREATE VIEW vwRecPayCashTurn AS
SELECT t.ID, t.CashID, c.Name AS CashName, t.Turn, t.IsOpen, t.UserID, u.FullName AS UserName,
       t.OpenDate, t.FarsiOpenDate, t.CloseDate, t.FarsiCloseDate
FROM tblRecPayCashTurn t
LEFT JOIN tblRecPayCash c ON c.ID = t.CashID
LEFT JOIN tblUser u ON u.ID = t.UserID;

CREATE VIEW vwRecPayPosTypeMajor AS
SELECT t.ID, CAST(t.ID AS VARCHAR(20)) AS Code, t.Name
FROM tblRecPayPosType t;

CREATE VIEW vwRecPayPosTypeMinor AS
SELECT t.ID, CAST(t.ID AS VARCHAR(20)) AS Code, t.Name
FROM tblRecPayPosType t;

CREATE VIEW vwDistributionPathMajor AS
SELECT p.ID, p.Code, p.Name, p.ParentID, r.Name AS RegionName
FROM tblDistributionPath p
LEFT JOIN tblDistributionRegion r ON r.ID = p.RegionID;

-- A path with each of its descendant paths (ChildID); a path without any has one row with a
-- NULL ChildID.
CREATE VIEW vwDistributionPathMinor AS
SELECT p.ID, p.Code, p.Name, r.Name AS RegionName, pp.ChildID
FROM tblDistributionPath p
LEFT JOIN tblDistributionRegion r ON r.ID = p.RegionID
LEFT JOIN tblDistributionPathParent pp ON pp.ID = p.ID;
