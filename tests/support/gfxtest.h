// A bare application object for graphics tests: the one BFIO, with a frame buffer of a
// chosen size made without a window, and pixel access.
#ifndef KV_TEST_GFXTEST_H
#define KV_TEST_GFXTEST_H

#include "app/bfio.h"
#include "gfx/screen.h"

#include <string>
#include <vector>

class TESTSCREEN : public BFIO {
public:
    TESTSCREEN();
    ~TESTSCREEN();
    void Render() override {}
    bool Update() override { return false; }
    // A black, wholly dirty frame buffer of this size, ready for drawing; the dirty
    // rectangle is emptied so tests see only what they draw.
    void MakeSurface(int16_t width, int16_t height);
    uint16_t& At(int x, int y);
    void Fill(uint16_t colour);
    void ClearDirty();
    // "left,right,top,bottom" of the dirty rectangle.
    std::string Dirty() const;
    // The pixels of one row / column as a string of '#' (== colour) and '.' (anything else).
    std::string RowPattern(int y, int x1, int x2, uint16_t colour);
};

// The bytes of a ".fnt" file, built record by record.
class FONTFILE {
public:
    explicit FONTFILE(int32_t height);
    // Every code from 32 to 255 gets this record unless set otherwise.
    void SetAll(int32_t advance, int32_t bytesPerRow, int32_t left, int32_t right, const std::string& bitmap);
    void Set(int code, int32_t advance, int32_t bytesPerRow, int32_t left, int32_t right, const std::string& bitmap);
    std::string Bytes() const;

private:
    struct RECORD {
        int32_t advance, bytesPerRow, left, right;
        std::string bitmap;
    };
    int32_t height;
    std::vector<RECORD> records;  // codes 32 to 255
};

void ResetGraphicsState();

// Every process-wide state of the program back to its start, between tests: the headless
// platform, the graphics, the shell and the input latches.
void ResetProgramState();

// Copies the seven fonts this build made into the current directory.
bool CopyBuiltFonts();

#endif
