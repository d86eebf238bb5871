/* image_unhandled.c: a runtime exception that no landing record of the image takes. */
#include "tests/images/image_support.h"

void ImageEntry(void)
{
    RuntimeMsgBox(QV_STR("before"));
    RuntimeNilObject();
    RuntimeMsgBox(QV_STR("after: the raising routine returned normally"));
}
