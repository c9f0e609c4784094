#pragma once
// Resource identifiers of QRNNTSrv.dll.
#define IDS_PRODUCT_TITLE 100
// Error texts set with the error information of IOrtivo.
#define IDS_ACCESS_DENIED 1500
#define IDS_TIMER_ID_RANGE 1501
#define IDS_ONE_INSTANCE 1502
