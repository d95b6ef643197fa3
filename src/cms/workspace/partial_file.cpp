#include "cms/workspace/partial_file.h"

#include <filesystem>

#include "cms/workspace/file_names.h"
#include "cms/workspace/file_summary.h"
#include "platform/profile_ini.h"

namespace qx {

namespace {

namespace fs = std::filesystem;

void Remove(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

}  // namespace

PartialFile::PartialFile(const std::string& folder, const std::string& name)
    : final_(folder + "/" + name) {
    const auto temp = CreateUniqueFile(folder + "/." + name + ".");
    if (!temp) throw FileNotWritten(final_);
    temp_ = *temp;
    out_.open(temp_, std::ios::binary | std::ios::trunc);
    if (!out_) {
        Remove(temp_);
        throw FileNotWritten(final_);
    }
}

PartialFile::~PartialFile() {
    out_.close();
    if (!published_) Remove(temp_);
}

void PartialFile::write(const std::string& record) {
    out_.write(record.data(), static_cast<std::streamsize>(record.size()));
    if (!out_) throw FileNotWritten(final_);
}

void PartialFile::close() {
    out_.close();
    if (!out_) throw FileNotWritten(final_);
}

void PartialFile::publish() {
    std::error_code ec;
    fs::rename(temp_, final_, ec);
    if (ec) throw FileNotWritten(final_ + " (" + ec.message() + ")");
    published_ = true;
}

void PartialFile::withdraw() {
    if (published_) Remove(final_);
    published_ = false;
}

std::string ForeignFileDate(const std::string& path, const CivilDate& date) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return {};
    const std::string header = HeaderDate(path);
    if (header == Yyyymmdd(date)) return {};
    if (header.size() != 8) return "?";
    return header.substr(0, 4) + "-" + header.substr(4, 2) + "-" + header.substr(6, 2);
}

std::string DiskNameTakenText(const std::string& diskName, const std::string& otherDate) {
    return "교환폴더에 같은 이름의 파일(" + diskName + ")이 " +
           (otherDate == "?" ? std::string("일자를 알 수 없는 다른 파일로")
                             : "다른 일자(" + otherDate + ")의 파일로") +
           " 남아 있어 파일을 생성하지 않았습니다.\r\n그 파일을 처리하거나 옮긴 후 다시 "
           "생성하십시오.";
}

}  // namespace qx
