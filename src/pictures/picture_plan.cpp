#include "pictures/picture_plan.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace {

enum class Level { None, Decoded, Ready };

class Planner {
public:
    Planner(const std::vector<PlanItem>& items, const std::vector<HeldPicture>& pictures,
            const std::vector<HeldDecoded>& decoded, const std::function<std::size_t(const std::wstring&)>& decodedBytesOf,
            std::size_t budget)
        : items_(items), pictures_(pictures), decoded_(decoded), decodedBytesOf_(decodedBytesOf), budget_(budget),
          level_(items.size(), Level::None) {
        for (std::size_t p = 0; p < pictures.size(); ++p) heldPictures_.emplace(pictures[p].request, static_cast<int>(p));
        for (std::size_t d = 0; d < decoded.size(); ++d) heldDecoded_.emplace(decoded[d].path, static_cast<int>(d));
        plan_.keepPicture.assign(pictures.size(), false);
        plan_.keepDecoded.assign(decoded.size(), false);
    }

    PicturePlan Run() {
        AtTheirLeast();
        MadeReady();
        DecodedOfTheDrawn();
        StandIns();
        for (const std::size_t i : plan_.ready)
            if (const int p = HeldPictureOf(items_[i].request); p >= 0) plan_.keepPicture[static_cast<std::size_t>(p)] = true;
        for (const std::size_t i : plan_.decoded)
            if (const int d = HeldDecodedOf(items_[i].request.path); d >= 0) plan_.keepDecoded[static_cast<std::size_t>(d)] = true;
        std::sort(plan_.ready.begin(), plan_.ready.end());
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (level_[i] == Level::Ready) plan_.jobs.push_back(PlanJob{i, false});
            else if (level_[i] == Level::Decoded && items_[i].decodedWillDo &&
                     std::find(plan_.decoded.begin(), plan_.decoded.end(), i) != plan_.decoded.end())
                plan_.jobs.push_back(PlanJob{i, true});
        }
        plan_.bytes = total_;
        plan_.headroom = headroom_;
        return plan_;
    }

private:
    int HeldPictureOf(const PictureRequest& r) const {
        const auto it = heldPictures_.find(r);
        return it == heldPictures_.end() ? -1 : it->second;
    }
    int HeldDecodedOf(const std::wstring& path) const {
        const auto it = heldDecoded_.find(path);
        return it == heldDecoded_.end() ? -1 : it->second;
    }
    // What holding a held buffer adds: nothing when it is counted already.
    std::size_t HeldCost(std::size_t bytes, const void* buffer) const {
        return buffer && counted_.count(buffer) ? 0 : bytes;
    }
    void Count(std::size_t bytes, const void* buffer) {
        total_ += HeldCost(bytes, buffer);
        if (buffer) counted_.insert(buffer);
    }
    // Whether `extra` bytes more fit, with room left for a decode of `need` bytes (or the
    // largest one already planned).
    bool Fits(std::size_t extra, std::size_t need) const {
        const std::size_t room = std::max(headroom_, need);
        return total_ <= budget_ && extra <= budget_ - total_ && room <= budget_ - total_ - extra;
    }
    bool ReadyAlready(const PictureRequest& r) const { return ready_.count(r) > 0; }
    bool DecodedAlready(const std::wstring& path) const { return decodedPaths_.count(path) > 0; }
    void MarkReady(std::size_t i) {
        level_[i] = Level::Ready;
        plan_.ready.push_back(i);
        ready_.insert(items_[i].request);
    }
    // Whether no other item planned so far draws on the file of item `i`.
    bool AloneOnItsFile(std::size_t i) const {
        for (std::size_t j = 0; j < items_.size(); ++j)
            if (j != i && level_[j] != Level::None && items_[j].request.path == items_[i].request.path) return false;
        return true;
    }
    void MarkDecoded(std::size_t i) {
        plan_.decoded.push_back(i);
        decodedPaths_.insert(items_[i].request.path);
    }
    // The decode a picture still needs: none when it, or its file's decoded pixels, are held.
    std::size_t DecodeNeed(const PictureRequest& r) const {
        if (HeldPictureOf(r) >= 0 || HeldDecodedOf(r.path) >= 0) return 0;
        return decodedBytesOf_(r.path);
    }
    std::size_t PictureCost(const PictureRequest& r) const {
        if (const int p = HeldPictureOf(r); p >= 0) return HeldCost(pictures_[static_cast<std::size_t>(p)].bytes, pictures_[static_cast<std::size_t>(p)].buffer);
        return MostBytesOf(r, decodedBytesOf_(r.path));
    }
    void CountPicture(const PictureRequest& r) {
        if (const int p = HeldPictureOf(r); p >= 0) Count(pictures_[static_cast<std::size_t>(p)].bytes, pictures_[static_cast<std::size_t>(p)].buffer);
        else total_ += MostBytesOf(r, decodedBytesOf_(r.path));
    }
    std::size_t DecodedCost(const std::wstring& path) const {
        if (const int d = HeldDecodedOf(path); d >= 0) return HeldCost(decoded_[static_cast<std::size_t>(d)].bytes, decoded_[static_cast<std::size_t>(d)].buffer);
        return decodedBytesOf_(path);
    }
    void CountDecoded(const std::wstring& path) {
        if (const int d = HeldDecodedOf(path); d >= 0) Count(decoded_[static_cast<std::size_t>(d)].bytes, decoded_[static_cast<std::size_t>(d)].buffer);
        else total_ += decodedBytesOf_(path);
    }

    void AtTheirLeast() {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const PlanItem& it = items_[i];
            if (!HasArea(it.request)) continue;
            if (ReadyAlready(it.request)) continue;
            if (it.decodedWillDo) {
                // At its least even when its picture is held: a picture made while it was one key
                // away (the first slide, while the second was shown) is kept only in the room
                // left, never ahead of what others need (MadeReady).
                if (DecodedAlready(it.request.path)) {
                    level_[i] = Level::Decoded;
                    continue;
                }
                const std::size_t need = HeldDecodedOf(it.request.path) >= 0 ? 0 : decodedBytesOf_(it.request.path);
                const std::size_t cost = DecodedCost(it.request.path);
                if (!Fits(cost, need)) continue;
                CountDecoded(it.request.path);
                headroom_ = std::max(headroom_, need);
                level_[i] = Level::Decoded;
                decodedCost_[i] = cost;
                MarkDecoded(i);
            } else {
                const std::size_t need = DecodeNeed(it.request);
                const bool onScreen = i == 0 && it.drawnNow;
                if (!onScreen && !Fits(PictureCost(it.request), need)) continue;
                CountPicture(it.request);
                headroom_ = std::max(headroom_, need);
                MarkReady(i);
            }
        }
    }

    void MadeReady() {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (level_[i] != Level::Decoded || ReadyAlready(items_[i].request)) continue;
            if (const int p = HeldPictureOf(items_[i].request); p >= 0 && decodedCost_.count(i) && AloneOnItsFile(i)) {
                // Held already: kept instead of its file's decoded pixels, where the difference fits.
                const HeldPicture& held = pictures_[static_cast<std::size_t>(p)];
                const std::wstring& path = items_[i].request.path;
                const std::size_t decodedCost = decodedCost_[i];
                total_ -= decodedCost;
                if (const int d = HeldDecodedOf(path); d >= 0) counted_.erase(decoded_[static_cast<std::size_t>(d)].buffer);
                const std::size_t cost = HeldCost(held.bytes, held.buffer);
                if (!Fits(cost, 0)) {
                    total_ += decodedCost;  // stays decoded
                    if (const int d = HeldDecodedOf(path); d >= 0 && decoded_[static_cast<std::size_t>(d)].buffer)
                        counted_.insert(decoded_[static_cast<std::size_t>(d)].buffer);
                    continue;
                }
                Count(held.bytes, held.buffer);
                std::erase(plan_.decoded, i);
                decodedPaths_.erase(path);
                MarkReady(i);
                continue;
            }
            // Its file's decoded pixels stay until the picture is made from them: letting them go
            // first would cost a second decode, and room the picture itself needs. The plan after
            // the picture is stored lets them go.
            const std::size_t cost = MostBytesOf(items_[i].request, decodedBytesOf_(items_[i].request.path));
            if (!Fits(cost, 0)) continue;
            total_ += cost;
            MarkReady(i);
        }
    }

    void DecodedOfTheDrawn() {
        for (const std::size_t i : plan_.ready) {
            if (!items_[i].drawnNow) continue;
            const std::wstring& path = items_[i].request.path;
            const int d = HeldDecodedOf(path);
            if (d < 0 || DecodedAlready(path)) continue;
            const HeldDecoded& held = decoded_[static_cast<std::size_t>(d)];
            if (!Fits(HeldCost(held.bytes, held.buffer), 0)) continue;
            Count(held.bytes, held.buffer);
            MarkDecoded(i);
        }
    }

    void StandIns() {
        // Of each file, the largest held picture without stamps first (a source of smaller
        // ones, and the one wanted again when its size comes back), then the others.
        std::vector<std::size_t> order(pictures_.size());
        for (std::size_t p = 0; p < order.size(); ++p) order[p] = p;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return pictures_[a].bytes > pictures_[b].bytes; });
        std::set<std::wstring> sourceKept;
        for (const std::size_t p : order) {
            const HeldPicture& held = pictures_[p];
            if (plan_.keepPicture[p] || HeldPictureOf(held.request) != static_cast<int>(p)) continue;
            bool standsIn = false, source = false;
            for (const std::size_t i : plan_.ready) {
                const PictureRequest& r = items_[i].request;
                if (r.path != held.request.path || r.fit != held.request.fit || r == held.request) continue;
                standsIn = standsIn || HeldPictureOf(r) < 0;
                source = source || (r.fit == FitMode::Stretch && r.stamps.empty() && held.request.stamps.empty() &&
                                    held.request.width >= r.width && held.request.height >= r.height &&
                                    !sourceKept.count(r.path));
            }
            if (!(standsIn || source) || !Fits(HeldCost(held.bytes, held.buffer), 0)) continue;
            Count(held.bytes, held.buffer);
            plan_.keepPicture[p] = true;
            if (source) sourceKept.insert(held.request.path);
        }
    }

    const std::vector<PlanItem>& items_;
    const std::vector<HeldPicture>& pictures_;
    const std::vector<HeldDecoded>& decoded_;
    const std::function<std::size_t(const std::wstring&)>& decodedBytesOf_;
    const std::size_t budget_;
    std::vector<Level> level_;
    std::unordered_map<PictureRequest, int, PictureRequestHash> heldPictures_;
    std::unordered_map<std::wstring, int> heldDecoded_;
    std::unordered_set<PictureRequest, PictureRequestHash> ready_;
    std::unordered_set<std::wstring> decodedPaths_;
    std::set<const void*> counted_;
    std::map<std::size_t, std::size_t> decodedCost_;  // what an item's decoded pixels added, by item
    std::size_t total_ = 0;
    std::size_t headroom_ = 0;
    PicturePlan plan_;
};

}  // namespace

PicturePlan MakePlan(const std::vector<PlanItem>& items, const std::vector<HeldPicture>& pictures,
                     const std::vector<HeldDecoded>& decoded,
                     const std::function<std::size_t(const std::wstring& path)>& decodedBytesOf, std::size_t budget) {
    return Planner(items, pictures, decoded, decodedBytesOf, budget).Run();
}
