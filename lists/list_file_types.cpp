#include "lists/list_file_types.h"

#include <initializer_list>
#include <string_view>

namespace velmora::lists {

namespace {

struct FileType {
    std::string_view description;
    std::string_view pattern;
};

std::string FilterBlock(std::initializer_list<FileType> types) {
    std::string block;
    for (const FileType& type : types) {
        block.append(type.description).push_back('\0');
        block.append(type.pattern).push_back('\0');
    }
    block.push_back('\0');
    return block;
}

}  // namespace

std::string PictureFileTypes() {
    return FilterBlock({
        {"Picture Files (bmp jpg png tga pcx psd webp heic avif jxr tif gif)",
         "*.bmp;*.jpg;*.jpeg;*.png;*.tga;*.pcx;*.psd;*.webp;*.heic;*.heif;*.avif;*.jxr;*.wdp;"
         "*.tif;*.tiff;*.gif;"},
        {"Bitmap (bmp)", "*.bmp"},
        {"JPEG (jpg)", "*.jpg;*.jpeg"},
        {"PNG (png)", "*.png"},
        {"Targa (tga)", "*.tga"},
        {"PCX (pcx)", "*.pcx"},
        {"PSD (psd)", "*.psd"},
        {"WebP (webp)", "*.webp"},
        {"HEIF (heic heif)", "*.heic;*.heif"},
        {"AVIF (avif)", "*.avif"},
        {"JPEG XR (jxr wdp)", "*.jxr;*.wdp"},
        {"TIFF (tif tiff)", "*.tif;*.tiff"},
        {"GIF (gif)", "*.gif"},
    });
}

std::string MusicFileTypes() {
    return FilterBlock({
        {"Music Files (mp3 wma wav)", "*.mp3;*.wma;*.wav;"},
        {"MPEG Audio (mp3)", "*.mp3"},
        {"Windows Media (wma)", "*.wma"},
        {"Wave (wav)", "*.wav"},
    });
}

}  // namespace velmora::lists
