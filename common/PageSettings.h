// The program-wide page settings in millimetres, shared by every rich-text window and the
// formatting dialog. Each new rich-text window resets them.
#pragma once

namespace Page {

inline float Seitenbreite = 210;
inline float Seitenhoehe = 297;
inline float RandLinks = 25;
inline float RandRechts = 25;
inline float RandOben = 25;
inline float RandUnten = 25;

inline void reset()
{
    Seitenbreite = 210;
    Seitenhoehe = 297;
    RandLinks = 25;
    RandRechts = 25;
    RandOben = 25;
    RandUnten = 25;
}

// Seitenbreite - RandLinks - RandRechts
inline float textWidth()
{
    return Seitenbreite - RandLinks - RandRechts;
}

} // namespace Page
