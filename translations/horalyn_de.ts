<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>QPrintPreviewDialog</name>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
</context>
<context>
    <name>QuickReminder</name>
    <message>
        <source>&quot;%1&quot; on %2, %3 at %4</source>
        <translation>„%1“ am %2, %3 um %4</translation>
    </message>
    <message>
        <source>Say when at the end: in 10 minutes, in 2 h, at 14:30, tomorrow 9:00.</source>
        <translation>Zeitpunkt am Ende angeben (englisch): in 10 minutes, in 2 h, at 14:30, tomorrow 9:00.</translation>
    </message>
</context>
<context>
    <name>Start</name>
    <message>
        <source>Horalyn cannot use its data folder:
%1</source>
        <translation>Horalyn kann seinen Datenordner nicht verwenden:
%1</translation>
    </message>
</context>
<context>
    <name>hrln::ui::AboutWindow</name>
    <message>
        <source>About Horalyn</source>
        <translation>Über Horalyn</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Horalyn %1&lt;/h2&gt;&lt;p&gt;Task scheduler and automation for the desktop.&lt;/p&gt;&lt;p&gt;Your schedule, settings and event log live in&lt;br&gt;&lt;tt&gt;%2&lt;/tt&gt;&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Horalyn %1&lt;/h2&gt;&lt;p&gt;Aufgabenplaner und Automatisierung für den Desktop.&lt;/p&gt;&lt;p&gt;Zeitplan, Einstellungen und Ereignisprotokoll liegen in&lt;br&gt;&lt;tt&gt;%2&lt;/tt&gt;&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>hrln::ui::QuickReminderWindow</name>
    <message>
        <source>Quick Reminder</source>
        <translation>Schnellerinnerung</translation>
    </message>
    <message>
        <source>&amp;Remind me of:</source>
        <translation>&amp;Erinnern an:</translation>
    </message>
    <message>
        <source>Call Bob in 10 minutes</source>
        <translation>Bob anrufen in 10 minutes</translation>
    </message>
    <message>
        <source>What to remind you of, then when: in 10 minutes, in 2 h, at 14:30, tomorrow 9:00</source>
        <translation>Woran erinnert werden soll, dann wann (englisch): in 10 minutes, in 2 h, at 14:30, tomorrow 9:00</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>When should it remind you?</source>
        <translation>Wann soll erinnert werden?</translation>
    </message>
</context>
</TS>
