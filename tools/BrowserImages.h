// The picture browser's eight small pictures: folders, the file, and the drive kinds.
#pragma once

#include <QIcon>

// The picture at the image list's index, 1 to 8; an empty icon for any other index.
QIcon browserImage(int index);
