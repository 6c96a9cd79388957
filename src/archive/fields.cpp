#include "archive/fields.h"

#include <string>

#include "text/utf8.h"

namespace tl {

ChartRecord ArchiveFields(const Chart& c, std::string_view personName, std::string_view provinceItem,
                          std::string_view placeItem) {
    ChartRecord rec;
    const std::string name = Trim(personName);
    rec.name = FitChars(name.empty() ? std::string_view("没有名字") : std::string_view(name), 12);
    rec.sex = c.isMale ? "男 " : "女 ";
    rec.place = FitChars(std::string(provinceItem) + "," + std::string(placeItem), 14);
    rec.birthDate = OleDate(c.BirthDate());
    rec.birthTime = c.birthTime.fraction();
    rec.deleted = 0;
    return rec;
}

}  // namespace tl
