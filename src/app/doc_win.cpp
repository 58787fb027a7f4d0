#include "app/doc.h"

BOOL CPemboroDoc::OnNewDocument() {
    const BOOL result = CDocument::OnNewDocument();
    SetPathName(L"Circelo Vexa Roundway 2017", FALSE);
    return result;
}
