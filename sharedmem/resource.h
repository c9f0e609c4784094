#pragma once
// Resource identifiers of QRNShrMem.dll.
#define IDS_PRODUCT_TITLE 100
