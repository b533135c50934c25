// Draws the picture objects of a text document (see TextPicture) in place of Qt's image
// handler: each is decoded off the GUI thread when it is first painted, and shows as a grey
// frame of its size until then, and for good when it cannot be decoded or lies beyond the
// decoding limits.
#pragma once

class QTextDocument;

namespace PictureObjects {

// From now on the document's layout draws its pictures so.
void attach(QTextDocument &document);
// Decodes every picture of the document not decoded yet, at once, at `scale` times its screen
// size: for a copy about to be printed.
void decodeAll(QTextDocument &document, double scale);

} // namespace PictureObjects
