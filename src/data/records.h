#pragma once

#include "common/date_time.h"
#include "common/fixed_text.h"

#include <cstdint>

// The records of the database, field by field. Each record lists its fields
// once, in record order, with the stored column names; the table store derives
// its columns from that list (see schema.h).
namespace hrln::data {

class TableSchema;

using Byte = std::uint8_t;
using Short = std::int16_t;
using Long = std::int32_t;

// One scheduled task, or one history entry (Disabled and Completed both set).
struct ScheduleRecord {
    FixedText<40> user;
    Long id = 0;
    FixedText<20> taskType;
    FixedText<20> category;
    FixedText<40> description;
    FixedText<80> command;
    FixedText<80> path;
    FixedText<20> scheduleType;
    Byte sunday = 0;
    Byte monday = 0;
    Byte tuesday = 0;
    Byte wednesday = 0;
    Byte thursday = 0;
    Byte friday = 0;
    Byte saturday = 0;
    Long every = 0;
    Byte every1st = 0;
    Byte every2nd = 0;
    Byte every3rd = 0;
    Byte every4th = 0;
    Byte everyLast = 0;
    FixedText<20> everyType;
    Date date = 0;
    Time time = 0;
    Date lastRunDate = 0;
    Time lastRunTime = 0;
    Byte skipNextTime = 0;
    Byte alarm = 0;
    FixedText<80> alarmFile;  // a zero-terminated 81-byte field: 80 characters
    Date advanceWarnDate = 0;
    Time advanceWarnTime = 0;
    Byte advanceWarned = 0;
    Byte warn = 0;
    Byte skipIfMissed = 0;
    Byte noHistory = 0;
    Byte userSkip = 0;
    Byte disabled = 0;
    Byte completed = 0;
    Byte undefinedOption1 = 0;
    Byte undefinedOption2 = 0;
    FixedText<20> shiftType;
    Byte exceptWeekends = 0;
    Byte exceptWeekdays = 0;
    Byte exceptHolidays = 0;
    FixedText<20> exceptOther;
    Memo<1000> message;

    enum Key {
        KeyID,
        KeyUser,
        KeyDate,
        KeyUserDate,
        KeyCategory,
        KeyCategoryDate,
        KeyTaskName,
        KeyTaskType,
        KeyTaskDate,
        KeyDateEnabled,
        KeyAdvanced,
        KeyUserAdvanced,
    };

    Byte& weekdayFlag(int weekday);  // 0 = Sunday
    Byte weekdayFlag(int weekday) const;
    bool isHistoryEntry() const { return disabled == 1 && completed == 1; }

    static const TableSchema& schema();
    template <class Self, class F>
    static void fields(Self& r, F&& f)
    {
        f("User", r.user);
        f("ID", r.id);
        f("TaskType", r.taskType);
        f("Category", r.category);
        f("Description", r.description);
        f("Command", r.command);
        f("Path", r.path);
        f("ScheduleType", r.scheduleType);
        f("Sunday", r.sunday);
        f("Monday", r.monday);
        f("Tuesday", r.tuesday);
        f("Wednesday", r.wednesday);
        f("Thursday", r.thursday);
        f("Friday", r.friday);
        f("Saturday", r.saturday);
        f("Every", r.every);
        f("Every1st", r.every1st);
        f("Every2nd", r.every2nd);
        f("Every3rd", r.every3rd);
        f("Every4th", r.every4th);
        f("EveryLast", r.everyLast);
        f("EveryType", r.everyType);
        f("Date", r.date);
        f("Time", r.time);
        f("LastRunDate", r.lastRunDate);
        f("LastRunTime", r.lastRunTime);
        f("SkipNextTime", r.skipNextTime);
        f("Alarm", r.alarm);
        f("AlarmFile", r.alarmFile);
        f("AdvanceWarnDate", r.advanceWarnDate);
        f("AdvanceWarnTime", r.advanceWarnTime);
        f("AdvanceWarned", r.advanceWarned);
        f("Warn", r.warn);
        f("SkipIfMissed", r.skipIfMissed);
        f("NoHistory", r.noHistory);
        f("UserSkip", r.userSkip);
        f("Disabled", r.disabled);
        f("Completed", r.completed);
        f("UndefinedOption1", r.undefinedOption1);
        f("UndefinedOption2", r.undefinedOption2);
        f("ShiftType", r.shiftType);
        f("ExceptWeekends", r.exceptWeekends);
        f("ExceptWeekdays", r.exceptWeekdays);
        f("ExceptHolidays", r.exceptHolidays);
        f("ExceptOther", r.exceptOther);
        f("Message", r.message);
    }
};

// One step of a task's script.
struct ScriptingRecord {
    Long id = 0;        // DECIMAL(6)
    Long sequence = 0;  // DECIMAL(6)
    FixedText<27> action;
    FixedText<80> keystrokes;
    Long secondsToWait = 0;  // DECIMAL(3): five digits, more than a SHORT holds
    FixedText<80> waitForWindow;
    FixedText<80> focusOnWindow;
    FixedText<20> windowExistance;
    FixedText<80> windowTitleToCheckFor;
    FixedText<20> ifTimeElapsed;
    Long timeElapsed = 0;
    FixedText<20> ddeType;
    FixedText<80> ddeApplicationName;
    FixedText<80> ddeApplicationTopic;
    FixedText<80> ddeLinkItem;
    FixedText<80> ddeCommand;
    FixedText<80> command;
    FixedText<80> path;
    Long nextTaskId = 0;

    enum Key { KeyID };

    static const TableSchema& schema();
    template <class Self, class F>
    static void fields(Self& r, F&& f)
    {
        f("ID", r.id);
        f("Sequence", r.sequence);
        f("Action", r.action);
        f("Keystrokes", r.keystrokes);
        f("SecondsToWait", r.secondsToWait);
        f("WaitForWindow", r.waitForWindow);
        f("FocusOnWindow", r.focusOnWindow);
        f("WindowExistance", r.windowExistance);
        f("WindowTitleToCheckFor", r.windowTitleToCheckFor);
        f("IfTimeElapsed", r.ifTimeElapsed);
        f("TimeElapsed", r.timeElapsed);
        f("DDEType", r.ddeType);
        f("DDEApplicationName", r.ddeApplicationName);
        f("DDEApplicationTopic", r.ddeApplicationTopic);
        f("DDELinkItem", r.ddeLinkItem);
        f("DDECommand", r.ddeCommand);
        f("Command", r.command);
        f("Path", r.path);
        f("NextTaskID", r.nextTaskId);
    }
};

struct CategoryRecord {
    FixedText<20> category;

    enum Key { KeyCategory };

    static const TableSchema& schema();
    template <class Self, class F>
    static void fields(Self& r, F&& f)
    {
        f("Category", r.category);
    }
};

struct TodoRecord {
    Byte done = 0;
    Byte priority = 0;
    FixedText<20> category;
    FixedText<80> toDo;
    Date completionDate = 0;
    Time completionTime = 0;
    Memo<4096> notes;

    enum Key { KeyDone, KeyPriority, KeyToDo, KeyCategory };

    static const TableSchema& schema();
    template <class Self, class F>
    static void fields(Self& r, F&& f)
    {
        f("Done", r.done);
        f("Priority", r.priority);
        f("Category", r.category);
        f("ToDo", r.toDo);
        f("CompletionDate", r.completionDate);
        f("CompletionTime", r.completionTime);
        f("Notes", r.notes);
    }
};

struct ContactRecord {
    FixedText<40> user;
    Long clientId = 0;
    FixedText<30> lastName;
    FixedText<20> firstName;
    FixedText<30> addressLine1;
    FixedText<30> addressLine2;
    FixedText<30> addressLine3;
    FixedText<10> postalCode;
    FixedText<20> workDayPhone;
    FixedText<20> homeEveningPhone;
    FixedText<20> fax;
    FixedText<20> otherPhone;
    FixedText<40> email;
    FixedText<60> webSite;
    FixedText<20> contactCategory;
    Memo<1024> notes;

    enum Key {
        KeyClientID,
        KeyUserClientID,
        KeyLastName,
        KeyFirstName,
        KeyWorkPhone,
        KeyHomePhone,
        KeyFaxNumber,
        KeyEmail,
        KeyCategory,
    };

    static const TableSchema& schema();
    template <class Self, class F>
    static void fields(Self& r, F&& f)
    {
        f("User", r.user);
        f("ClientID", r.clientId);
        f("LastName", r.lastName);
        f("FirstName", r.firstName);
        f("AddressLine1", r.addressLine1);
        f("AddressLine2", r.addressLine2);
        f("AddressLine3", r.addressLine3);
        f("PostalCode", r.postalCode);
        f("WorkDayPhone", r.workDayPhone);
        f("HomeEveningPhone", r.homeEveningPhone);
        f("Fax", r.fax);
        f("OtherPhone", r.otherPhone);
        f("Email", r.email);
        f("WebSite", r.webSite);
        f("ContactCategory", r.contactCategory);
        f("Notes", r.notes);
    }
};

struct ContactCategoryRecord {
    FixedText<20> contactCategory;

    enum Key { KeyContactCategories };

    static const TableSchema& schema();
    template <class Self, class F>
    static void fields(Self& r, F&& f)
    {
        f("ContactCategory", r.contactCategory);
    }
};

// A contact attached to a scheduled task.
struct LinkRecord {
    Long id = 0;
    Long clientId = 0;

    enum Key { KeySchedule, KeyClient };

    static const TableSchema& schema();
    template <class Self, class F>
    static void fields(Self& r, F&& f)
    {
        f("ID", r.id);
        f("ClientID", r.clientId);
    }
};

struct ClipboardRecord {
    FixedText<40> user;
    Date clipDate = 0;
    Time clipTime = 0;
    FixedText<40> clipHashKey;
    Memo<4096> clipContents;

    enum Key { KeyClipDate, KeyClipHash };

    static const TableSchema& schema();
    template <class Self, class F>
    static void fields(Self& r, F&& f)
    {
        f("User", r.user);
        f("ClipDate", r.clipDate);
        f("ClipTime", r.clipTime);
        f("ClipHashKey", r.clipHashKey);
        f("ClipContents", r.clipContents);
    }
};

// A mark set on a record of another table; kept in the tag file.
struct TagRecord {
    Long usr = 0;
    Short tbl = 0;
    Long ptr = 0;
    FixedText<10> val;

    enum Key { PtrKey, ValKey };

    static const TableSchema& schema();
    template <class Self, class F>
    static void fields(Self& r, F&& f)
    {
        f("USR", r.usr);
        f("TBL", r.tbl);
        f("PTR", r.ptr);
        f("VAL", r.val);
    }
};

}  // namespace hrln::data
