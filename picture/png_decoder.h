// CPNGDecoder: PNG through libpng 1.6. libpng's transformations bring every
// colour type and bit depth into the bitmap's pixel layout, and libpng writes
// each row straight into its bitmap line.
#pragma once

#include "picture/pic_decoder.h"

class CPNGDecoder : public CPicDecoder {
protected:
    void DecodeImage() override;
    PictureHeader ReadImageHeader() override;
};
