// The text sources of the pictures.
//
// A source is read line by line; ';' starts a comment. Its commands:
//
//   picture W H BPP            the size and depth (4, 8 or 24) of the picture
//   C = RRGGBB                 the palette legend: character C is that colour
//   fill C                     the whole picture in one colour
//   rect X Y W H C             a filled rectangle
//   font FILE                  the glyphs for `text` (FILE relative to this source)
//   cell NAME X Y W H          a W x H character grid drawn at (X, Y); its rows
//     <grid rows>              follow, one per line, up to `end`. The grid is
//   end                        kept under NAME for `stamp`.
//   text X Y C [scale=N] [advance=N] STRING
//                              STRING (the rest of the line) in the font; X may
//                              be `centre`. advance= fixes the step from one
//                              glyph to the next, otherwise glyphs are 1 pixel apart
//   stamp FILE NAME X Y [scale=N] [as=C]
//                              the cell NAME of another source, without its
//                              pure-blue (transparent) pixels, optionally
//                              enlarged and recoloured
//   gradient Y0 Y1 C1 C2 ...   rows Y0 to Y1 shaded through the colours, dithered
//   stars SEED COUNT C1 C2 ... COUNT single-pixel stars in colours drawn from
//                              the list (repeat a colour to make it commoner),
//                              placed by a fixed pseudo-random sequence
//   disc X Y R C               a filled circle of radius R about (X, Y), clipped
//
// A font source holds `glyph C` blocks (C a character, or `space`) with rows
// of '#' (ink) and '.' (paper) up to `end`; every glyph has the same height.
#pragma once

#include <string>

#include "bmp_writer.h"

// Draws the picture a source describes. Throws std::runtime_error naming the
// file and line of the first fault.
Picture DrawArtSource(const std::string& path);
