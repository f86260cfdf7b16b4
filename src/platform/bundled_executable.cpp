/*
** The own executable's version record and resources, read from the bundle
** appended to it.
*/
#include <utility>

#include "platform/own_executable.h"
#include "platform/resource_bundle.h"

namespace kv {
namespace {

/* One bundle entry, read piece by piece; keeps its file open while it lives. */
class BundleItemStream final : public ResourceStream {
 public:
  BundleItemStream(BundleReader reader, BundleItem item) : reader_(std::move(reader)), item_(std::move(item)) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = reader_.ReadAt(item_, pos_, buffer, size);
    pos_ += n;
    return n;
  }

 private:
  BundleReader reader_;
  BundleItem item_;
  std::uint64_t pos_ = 0;
};

class BundledExecutable final : public OwnExecutable {
 public:
  BundledExecutable(std::string ownPath, bool mustCarryBundle)
      : ownPath_(std::move(ownPath)), mustCarryBundle_(mustCarryBundle) {}

  FileVersion ReadOwnFileVersion(const std::string& path) override {
    BundleReader reader(path);
    CheckCarried(reader, path);
    const BundleItem* item = reader.Find(kVersionResourceType, kVersionResourceName);
    if (item == nullptr) return {};
    try {
      return DecodeFileVersion(reader.ReadSmallItem(*item, 8));
    } catch (const ResourceError& e) {
      throw ResourceError("damaged version record in \"" + path + "\": " + e.what());
    }
  }

  std::unique_ptr<ResourceStream> OpenResource(const std::string& type, const std::string& name) override {
    BundleReader reader(ownPath_);
    CheckCarried(reader, ownPath_);
    const BundleItem* item = reader.Find(type, name);
    if (item == nullptr) return nullptr;
    BundleItem found = *item;
    return std::make_unique<BundleItemStream>(std::move(reader), std::move(found));
  }

 private:
  void CheckCarried(const BundleReader& reader, const std::string& path) const {
    if (mustCarryBundle_ && path == ownPath_ && !reader.HasBundle())
      throw ResourceError("the program file \"" + path + "\" is damaged: the version and packages it carries are missing");
  }

  std::string ownPath_;
  bool mustCarryBundle_;
};

}  // namespace

std::unique_ptr<OwnExecutable> OpenBundledExecutable(std::string ownPath, bool mustCarryBundle) {
  return std::make_unique<BundledExecutable>(std::move(ownPath), mustCarryBundle);
}

}  // namespace kv
