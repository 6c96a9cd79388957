// Listing a full archive: reco.dat with all 32767 records it can hold.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "calendar/years.h"
#include "text/gbk.h"
#include "archive/list.h"
#include "archive/record.h"

namespace {

namespace fs = std::filesystem;

// A program folder with a full reco.dat, removed at the end.
class FullArchive {
public:
    FullArchive() : folder_(fs::temp_directory_path() / ("tenglan_bench_" + std::to_string(::getpid()))) {
        fs::create_directories(folder_);
        std::ofstream out(folder_ / "reco.dat", std::ios::binary);
        tl::GbkCodec codec;
        const char* names[] = {"张三", "李四光", "欧阳修文", "没有名字", "Li Lei"};
        for (int k = 0; k < 32767; ++k) {
            tl::ChartRecord r;
            r.recordNumber = k;
            r.name = names[k % 5];
            r.sex = k % 2 ? "男" : "女";
            r.place = "1北京,北京";
            r.birthDate = 31118 + k;
            r.birthTime = (k % 1440) / 1440.0;
            r.savedAt = 39793.207 + k * 0.01;
            r.deleted = k % 10 == 3 ? -1 : 0;
            const tl::RecordBytes b = tl::EncodeRecord(r, codec);
            out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        }
    }
    ~FullArchive() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    const fs::path& folder() const { return folder_; }

private:
    fs::path folder_;
};

void BM_ListArchive32767(benchmark::State& state) {
    const FullArchive archive;
    for (auto _ : state) {
        const auto list = tl::ListArchive(archive.folder());
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_ListArchive32767)->Unit(benchmark::kMillisecond);

}  // namespace
