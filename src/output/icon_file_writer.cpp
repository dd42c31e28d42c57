#include "output/icon_file_writer.h"

#include "image/codecs/encoded_image.h"
#include "output/binary_file_writer.h"

namespace tessaro {

void SaveIconFile(std::u16string_view fileName, const ImageRecord& image) {
    WriteBinaryFile(fileName, EncodeIcon(image));
}

}  // namespace tessaro
