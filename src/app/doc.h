// The document holds no data: the deck is compiled in. It gives the caption its title.
#pragma once
#include "framework/doc.h"

class CPemboroDoc : public CDocument {
public:
    BOOL OnNewDocument() override;
};
