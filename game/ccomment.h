// The comment line above the field: a fixed scolding for a miss, or a taunt
// about the number of stones a shot destroyed.
#pragma once

#include "platform/framework/cstring.h"

class CdxScreen;

class CComment
{
public:
    CComment() = default;
    virtual ~CComment() = default;

    void SetPosition(int x, int y);
    // A non-empty text becomes the line as it is; an empty one picks a taunt
    // for the count.
    void Set(int count, CString text);
    // Draws exactly one random number, shared with the field's generator.
    void ChooseTaunt();
    // Red, transparent background, in the device context's default font.
    void Draw(CdxScreen* screen);

    const CString& GetText() const { return m_strText; }

private:
    CString m_strText;
    int m_nCount = 0;
    CString m_strRequest;
    int m_nX = 0;
    int m_nY = 0;
};
