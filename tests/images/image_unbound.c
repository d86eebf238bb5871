/* image_unbound.c: calls a routine that the runtime does not export. */
#include "tests/images/image_support.h"

void NoSuchRoutineAnywhere(void);

void ImageEntry(void)
{
    RuntimeMsgBox(QV_STR("linked"));
    NoSuchRoutineAnywhere();
    RuntimeMsgBox(QV_STR("not reached"));
}
