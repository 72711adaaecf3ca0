#pragma once
// Resource ids of the program.

// The product name: the instance name, the registered hand-over message and the title.
#define IDS_PRODUCT_NAME 64962
