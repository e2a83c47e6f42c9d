<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AdvanceWarning</name>
    <message>
        <source>Command:  %1</source>
        <translation>Befehl:  %1</translation>
    </message>
    <message>
        <source>Command: %1</source>
        <translation>Befehl: %1</translation>
    </message>
    <message>
        <source>Advanced Warning</source>
        <translation>Vorwarnung</translation>
    </message>
</context>
<context>
    <name>BatchRun</name>
    <message>
        <source>Process Completed</source>
        <translation>Vorgang abgeschlossen</translation>
    </message>
    <message>
        <source>%1% Completed</source>
        <translation>%1 % erledigt</translation>
    </message>
</context>
<context>
    <name>CalendarGrid</name>
    <message>
        <source>Select Date</source>
        <translation>Datum wählen</translation>
    </message>
</context>
<context>
    <name>ClipboardSaver</name>
    <message>
        <source>Delete all %1 saved clipboard texts?  They cannot be brought back.</source>
        <translation>Alle %1 gespeicherten Texte der Zwischenablage löschen?  Sie lassen sich nicht wiederherstellen.</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alle löschen</translation>
    </message>
</context>
<context>
    <name>Contacts</name>
    <message>
        <source>Add new category?</source>
        <translation>Neue Kategorie hinzufügen?</translation>
    </message>
    <message>
        <source>Category not found</source>
        <translation>Kategorie nicht gefunden</translation>
    </message>
</context>
<context>
    <name>DateTime</name>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
</context>
<context>
    <name>Dispatch</name>
    <message>
        <source>%1 was not run.  Run it now?</source>
        <translation>%1 wurde nicht ausgeführt.  Jetzt ausführen?</translation>
    </message>
    <message>
        <source>Missed Task</source>
        <translation>Versäumte Aufgabe</translation>
    </message>
    <message>
        <source>%1 is due to run.  Run it now?</source>
        <translation>%1 steht zur Ausführung an.  Jetzt ausführen?</translation>
    </message>
    <message>
        <source>Confirm Task</source>
        <translation>Aufgabe bestätigen</translation>
    </message>
</context>
<context>
    <name>FormTitle</name>
    <message>
        <source>Adding a Categories Record</source>
        <translation>Kategorie hinzufügen</translation>
    </message>
    <message>
        <source>Changing a Categories Record</source>
        <translation>Kategorie ändern</translation>
    </message>
    <message>
        <source>Adding a Contact Categories Record</source>
        <translation>Kontakt-Kategorie hinzufügen</translation>
    </message>
    <message>
        <source>Changing a Contact Categories Record</source>
        <translation>Kontakt-Kategorie ändern</translation>
    </message>
    <message>
        <source>Adding a Contact Record</source>
        <translation>Kontakt hinzufügen</translation>
    </message>
    <message>
        <source>Changing a Contact Record</source>
        <translation>Kontakt ändern</translation>
    </message>
    <message>
        <source>Adding a Link Record</source>
        <translation>Verknüpfung hinzufügen</translation>
    </message>
    <message>
        <source>Changing a Link Record</source>
        <translation>Verknüpfung ändern</translation>
    </message>
    <message>
        <source>Adding a To Do Item</source>
        <translation>To-do hinzufügen</translation>
    </message>
    <message>
        <source>Changing a To Do Item</source>
        <translation>To-do ändern</translation>
    </message>
    <message>
        <source>Adding a Schedule Task</source>
        <translation>Aufgabe hinzufügen</translation>
    </message>
    <message>
        <source>Changing a Schedule Task</source>
        <translation>Aufgabe ändern</translation>
    </message>
    <message>
        <source>Adding Scripting</source>
        <translation>Skriptschritt hinzufügen</translation>
    </message>
    <message>
        <source>Changing Scripting</source>
        <translation>Skriptschritt ändern</translation>
    </message>
</context>
<context>
    <name>Housekeeping</name>
    <message>
        <source>Housekeeping</source>
        <translation>Aufräumen</translation>
    </message>
    <message>
        <source>Remove disabled tasks?</source>
        <translation>Deaktivierte Aufgaben löschen?</translation>
    </message>
    <message>
        <source>Disabled tasks removed.</source>
        <translation>Deaktivierte Aufgaben gelöscht.</translation>
    </message>
    <message>
        <source>Remove completed tasks?</source>
        <translation>Erledigte Aufgaben löschen?</translation>
    </message>
    <message>
        <source>Completed tasks removed.</source>
        <translation>Erledigte Aufgaben gelöscht.</translation>
    </message>
    <message>
        <source>Clear To Do list?</source>
        <translation>To-do-Liste leeren?</translation>
    </message>
    <message>
        <source>To Do list removed.</source>
        <translation>To-do-Liste geleert.</translation>
    </message>
    <message>
        <source>Reset saved window settings?</source>
        <translation>Gespeicherte Fenstereinstellungen zurücksetzen?</translation>
    </message>
    <message>
        <source>Remove active scripts?</source>
        <translation>Aktive Skripte entfernen?</translation>
    </message>
    <message>
        <source>All active scripts have been removed</source>
        <translation>Alle aktiven Skripte wurden entfernt</translation>
    </message>
</context>
<context>
    <name>MessageNotices</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Add to To Do List</source>
        <translation>Zur To-do-Liste</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>MessageWindow</name>
    <message>
        <source>Added to To Do List:</source>
        <translation>Zur To-do-Liste hinzugefügt:</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Gespeichert</translation>
    </message>
</context>
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
        <translation>Zeitpunkt am Ende angeben: in 10 Minuten, in 2 Std, um 14:30, morgen 9:00.</translation>
    </message>
</context>
<context>
    <name>RecordWarnings</name>
    <message>
        <source>Error: (%1) in the Update transaction of the %2 file.</source>
        <translation>Fehler: (%1) in der Änderungstransaktion der Datei %2.</translation>
    </message>
    <message>
        <source>Error: (%1) reading a record of the %2 file.</source>
        <translation>Fehler: (%1) beim Lesen eines Datensatzes der Datei %2.</translation>
    </message>
    <message>
        <source>Error: (%1) writing a record of the %2 file.</source>
        <translation>Fehler: (%1) beim Schreiben eines Datensatzes der Datei %2.</translation>
    </message>
    <message>
        <source>You&apos;ve selected to delete the highlighted record.  Press OK to confirm deletion of this record.</source>
        <translation>Der markierte Datensatz wird gelöscht.  Zum Bestätigen OK drücken.</translation>
    </message>
    <message>
        <source>Confirm Delete</source>
        <translation>Löschen bestätigen</translation>
    </message>
    <message>
        <source>This record would duplicate an existing entry of the key %1.  Change the value and save again.</source>
        <translation>Dieser Datensatz würde einen vorhandenen Eintrag des Schlüssels %1 doppeln.  Den Wert ändern und erneut speichern.</translation>
    </message>
    <message>
        <source>Duplicate Key</source>
        <translation>Doppelter Schlüssel</translation>
    </message>
    <message>
        <source>Error: (%1) adding a record to the %2 file.</source>
        <translation>Fehler: (%1) beim Hinzufügen eines Datensatzes zur Datei %2.</translation>
    </message>
    <message>
        <source>Add Error</source>
        <translation>Fehler beim Hinzufügen</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Fehler beim Ändern</translation>
    </message>
    <message>
        <source>Error: (%1) deleting a record of the %2 file.</source>
        <translation>Fehler: (%1) beim Löschen eines Datensatzes der Datei %2.</translation>
    </message>
    <message>
        <source>Delete Error</source>
        <translation>Fehler beim Löschen</translation>
    </message>
    <message>
        <source>Read Error</source>
        <translation>Fehler beim Lesen</translation>
    </message>
    <message>
        <source>Error: (%1) in the %2 transaction of the %3 file.  Nothing was changed.</source>
        <translation>Fehler: (%1) in der Transaktion „%2“ der Datei %3.  Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>Transaction Error</source>
        <translation>Transaktionsfehler</translation>
    </message>
    <message>
        <source>%1 must be between %2.</source>
        <translation>%1 muss zwischen %2 liegen.</translation>
    </message>
    <message>
        <source>Range Error</source>
        <translation>Bereichsfehler</translation>
    </message>
    <message>
        <source>%1 cannot be blank.</source>
        <translation>%1 darf nicht leer sein.</translation>
    </message>
    <message>
        <source>Required Field</source>
        <translation>Pflichtfeld</translation>
    </message>
    <message>
        <source>Invalid Entry</source>
        <translation>Ungültige Eingabe</translation>
    </message>
    <message>
        <source>Yes tries again, No closes without saving, Cancel goes back to the form.</source>
        <translation>Ja versucht es erneut, Nein schließt ohne Speichern, Abbrechen kehrt zum Formular zurück.</translation>
    </message>
    <message>
        <source>Error: (%1) accessing the %2 file.  Do you want to try again?</source>
        <translation>Fehler: (%1) beim Zugriff auf die Datei %2.  Erneut versuchen?</translation>
    </message>
    <message>
        <source>Retry?</source>
        <translation>Wiederholen?</translation>
    </message>
    <message>
        <source>This record was changed by another station.</source>
        <translation>Dieser Datensatz wurde von einer anderen Station geändert.</translation>
    </message>
    <message>
        <source>Record Changed by Another Station</source>
        <translation>Von anderer Station geändert</translation>
    </message>
    <message>
        <source>This record is referenced from the file %1.  This record cannot be deleted while these references exist.</source>
        <translation>Auf diesen Datensatz wird aus der Datei %1 verwiesen.  Solange diese Verweise bestehen, kann er nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Referential Integrity Delete Error</source>
        <translation>Löschen wegen Verweisen nicht möglich</translation>
    </message>
    <message>
        <source>This record is referenced from the file %1.  Linking field(s) have been restricted from change and have been reset to original values.</source>
        <translation>Auf diesen Datensatz wird aus der Datei %1 verwiesen.  Verknüpfende Felder dürfen nicht geändert werden und wurden auf ihre ursprünglichen Werte zurückgesetzt.</translation>
    </message>
    <message>
        <source>Referential Integrity Update Error</source>
        <translation>Ändern wegen Verweisen nicht möglich</translation>
    </message>
</context>
<context>
    <name>Scheduler</name>
    <message>
        <source>%1 (Inactive)</source>
        <translation>%1 (inaktiv)</translation>
    </message>
    <message>
        <source>Inactive</source>
        <translation>Inaktiv</translation>
    </message>
    <message>
        <source>Next: %1</source>
        <translation>Als Nächstes: %1</translation>
    </message>
</context>
<context>
    <name>ScriptStatus</name>
    <message>
        <source>Adjusting Remaining Items</source>
        <translation>Restliche Schritte werden angepasst</translation>
    </message>
    <message>
        <source>Script completed</source>
        <translation>Skript beendet</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 Sekunden</translation>
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
    <name>StoredValue</name>
    <message>
        <source>Run Program</source>
        <translation>Programm starten</translation>
    </message>
    <message>
        <source>Display Message</source>
        <translation>Nachricht anzeigen</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Beides</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Once</source>
        <translation>Einmal</translation>
    </message>
    <message>
        <source>Day of Week</source>
        <translation>Wochentag</translation>
    </message>
    <message>
        <source>Day of Month</source>
        <translation>Monatstag</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>minute(s)</source>
        <translation>Minute(n)</translation>
    </message>
    <message>
        <source>hour(s)</source>
        <translation>Stunde(n)</translation>
    </message>
    <message>
        <source>day(s)</source>
        <translation>Tag(e)</translation>
    </message>
    <message>
        <source>week(s)</source>
        <translation>Woche(n)</translation>
    </message>
    <message>
        <source>month(s)</source>
        <translation>Monat(e)</translation>
    </message>
    <message>
        <source>year(s)</source>
        <translation>Jahr(e)</translation>
    </message>
    <message>
        <source>And</source>
        <translation>Und</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Oder</translation>
    </message>
    <message>
        <source>Window Exists</source>
        <translation>Fenster existiert</translation>
    </message>
    <message>
        <source>Window Doesn&apos;t Exist</source>
        <translation>Fenster existiert nicht</translation>
    </message>
    <message>
        <source>Time Elapsed is Greater Than</source>
        <translation>Verstrichene Zeit ist größer als</translation>
    </message>
    <message>
        <source>Time Elapsed is Less Than</source>
        <translation>Verstrichene Zeit ist kleiner als</translation>
    </message>
    <message>
        <source>Wait for Program End</source>
        <translation>Auf Programmende warten</translation>
    </message>
    <message>
        <source>Send Keystrokes</source>
        <translation>Tasten senden</translation>
    </message>
    <message>
        <source>Wait</source>
        <translation>Warten</translation>
    </message>
    <message>
        <source>Set Focus</source>
        <translation>Fokus setzen</translation>
    </message>
    <message>
        <source>If Window...</source>
        <translation>Wenn Fenster...</translation>
    </message>
    <message>
        <source>If Time Elapsed...</source>
        <translation>Wenn Zeit verstrichen...</translation>
    </message>
    <message>
        <source>...End If</source>
        <translation>...Ende Wenn</translation>
    </message>
    <message>
        <source>Start Program</source>
        <translation>Programm starten</translation>
    </message>
    <message>
        <source>Close Program</source>
        <translation>Programm schließen</translation>
    </message>
    <message>
        <source>Exit Script</source>
        <translation>Skript beenden</translation>
    </message>
    <message>
        <source>DDE (Dynamic Data Exchange)</source>
        <translation>Desktop-Bus (DDE)</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstiges</translation>
    </message>
</context>
<context>
    <name>TaskFields</name>
    <message>
        <source>This task is to run once, on %1 at %2, which has already passed: saved now, it runs at once.

Save it anyway?</source>
        <translation>Diese Aufgabe soll einmal laufen, am %1 um %2, und dieser Zeitpunkt ist schon vorbei: jetzt gespeichert, läuft sie sofort.

Trotzdem speichern?</translation>
    </message>
    <message>
        <source>Time Already Passed</source>
        <translation>Zeitpunkt bereits vorbei</translation>
    </message>
    <message>
        <source>Date given does not match schedule type.</source>
        <translation>Das Datum passt nicht zum Zeitplantyp.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Advanced Warning cannot be after scheduled task.</source>
        <translation>Die Vorwarnung darf nicht nach der geplanten Aufgabe liegen.</translation>
    </message>
    <message>
        <source>Task Type</source>
        <translation>Aufgabentyp</translation>
    </message>
    <message>
        <source>Next Date to Perform Task</source>
        <translation>Nächstes Datum der Ausführung</translation>
    </message>
    <message>
        <source>Advance Warning Date</source>
        <translation>Datum der Vorwarnung</translation>
    </message>
    <message>
        <source>Advance Warning Time</source>
        <translation>Uhrzeit der Vorwarnung</translation>
    </message>
    <message>
        <source>00:00:00 and 23:59:59</source>
        <translation>00:00:00 und 23:59:59</translation>
    </message>
    <message>
        <source>Choose at least one day of the week on which to perform the task.</source>
        <translation>Mindestens einen Wochentag wählen, an dem die Aufgabe ausgeführt wird.</translation>
    </message>
    <message>
        <source>Choose at least one week of the month (1st to Last) in which to perform the task.</source>
        <translation>Mindestens eine Woche des Monats (1. bis Letzte) wählen, in der die Aufgabe ausgeführt wird.</translation>
    </message>
    <message>
        <source>Every</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>1 and 999999</source>
        <translation>1 und 999999</translation>
    </message>
    <message>
        <source>Every unit</source>
        <translation>Einheit von „Alle“</translation>
    </message>
</context>
<context>
    <name>TextSearch</name>
    <message>
        <source>Reading File</source>
        <translation>Datei wird gelesen</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Add &amp;Message|Add &amp;Program|&amp;Quick Reminder|&amp;View To Do|&amp;Options|-|&amp;Restore|-|&amp;About|&amp;Stop Running Script|E&amp;xit Horalyn</source>
        <translation>&amp;Nachricht hinzufügen|&amp;Programm hinzufügen|&amp;Schnellerinnerung|&amp;To-dos anzeigen|&amp;Einstellungen|-|&amp;Wiederherstellen|-|&amp;Info|Skript an&amp;halten|Horalyn &amp;beenden</translation>
    </message>
    <message>
        <source>Add &amp;Message|Add &amp;Program|&amp;Quick Reminder|&amp;View To Do|&amp;Options|-|&amp;Restore|-|&amp;About|E&amp;xit Horalyn</source>
        <translation>&amp;Nachricht hinzufügen|&amp;Programm hinzufügen|&amp;Schnellerinnerung|&amp;To-dos anzeigen|&amp;Einstellungen|-|&amp;Wiederherstellen|-|&amp;Info|Horalyn &amp;beenden</translation>
    </message>
</context>
<context>
    <name>WindowClose</name>
    <message>
        <source>Tasks still to come will not be performed while Horalyn is not running.<byte value="xd"/><byte value="xd"/>Keep Horalyn running in the notification area instead?<byte value="xd"/>(Setup can make this what closing the window always does.)</source>
        <translation>Anstehende Aufgaben werden nicht ausgeführt, solange Horalyn nicht läuft.<byte value="xd"/><byte value="xd"/>Horalyn stattdessen im Infobereich weiterlaufen lassen?<byte value="xd"/>(In den Einstellungen lässt sich das für jedes Schließen festlegen.)</translation>
    </message>
</context>
<context>
    <name>Wizard</name>
    <message>
        <source>The fancy stuff...</source>
        <translation>Für Fortgeschrittene...</translation>
    </message>
    <message>
        <source>&amp;Command</source>
        <translation>&amp;Befehl</translation>
    </message>
    <message>
        <source>Application to start...</source>
        <translation>Zu startendes Programm...</translation>
    </message>
    <message>
        <source>&amp;Category</source>
        <translation>&amp;Kategorie</translation>
    </message>
    <message>
        <source>Describing it...</source>
        <translation>Beschreibung...</translation>
    </message>
    <message>
        <source>&amp;Skip First Time</source>
        <translation>Ersten Termin über&amp;springen</translation>
    </message>
    <message>
        <source>Add Message Wizard</source>
        <translation>Assistent: Nachricht hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Message</source>
        <translation>&amp;Nachricht</translation>
    </message>
    <message>
        <source>Message to display...</source>
        <translation>Anzuzeigende Nachricht...</translation>
    </message>
    <message>
        <source>&amp;When</source>
        <translation>&amp;Wann</translation>
    </message>
    <message>
        <source>When to display it...</source>
        <translation>Wann sie angezeigt wird...</translation>
    </message>
    <message>
        <source>&amp;Advanced</source>
        <translation>&amp;Erweitert</translation>
    </message>
    <message>
        <source>Add Program Wizard</source>
        <translation>Assistent: Programm hinzufügen</translation>
    </message>
    <message>
        <source>When to start it...</source>
        <translation>Wann es gestartet wird...</translation>
    </message>
    <message>
        <source>Choose a WAV File</source>
        <translation>WAV-Datei wählen</translation>
    </message>
    <message>
        <source>Add Task Wizard</source>
        <translation>Assistent: Aufgabe hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Task</source>
        <translation>&amp;Aufgabe</translation>
    </message>
    <message>
        <source>What needs to be done?</source>
        <translation>Was soll geschehen?</translation>
    </message>
    <message>
        <source>When to do it...</source>
        <translation>Wann es geschehen soll...</translation>
    </message>
    <message>
        <source>Reschedule Event Wizard</source>
        <translation>Verschiebe-Assistent</translation>
    </message>
    <message>
        <source>Changing a Schedule Record</source>
        <translation>Zeitplaneintrag ändern</translation>
    </message>
    <message>
        <source>Reschedule</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Rescheduling...</source>
        <translation>Verschieben...</translation>
    </message>
    <message>
        <source>This is useful when the day a task is normally scheduled is a holiday, or</source>
        <translation>Das ist nützlich, wenn der übliche Tag einer Aufgabe ein Feiertag ist oder</translation>
    </message>
    <message>
        <source>must be changed temporarily because of some other special event.</source>
        <translation>wegen eines anderen besonderen Ereignisses vorübergehend wechseln muss.</translation>
    </message>
    <message>
        <source>This wizard copies an existing task to create a special event.</source>
        <translation>Dieser Assistent kopiert eine vorhandene Aufgabe in ein besonderes Ereignis.</translation>
    </message>
    <message>
        <source>You may modify the information here or press Next.</source>
        <translation>Die Angaben hier lassen sich ändern, oder gleich „Weiter“ drücken.</translation>
    </message>
    <message>
        <source>These options determine when this task will be performed.</source>
        <translation>Diese Optionen bestimmen, wann die Aufgabe ausgeführt wird.</translation>
    </message>
    <message>
        <source>Finally, here are some advanced features you may wish to use...</source>
        <translation>Zum Schluss einige erweiterte Funktionen...</translation>
    </message>
    <message>
        <source>Skip next regular occurance of task being copied</source>
        <translation>Nächsten regulären Termin der kopierten Aufgabe überspringen</translation>
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
    <name>hrln::ui::BrowseCategoriesWindow</name>
    <message>
        <source> &amp;Schedule</source>
        <translation> &amp;Zeitplan</translation>
    </message>
    <message>
        <source>View the schedule of the highlighted category</source>
        <translation>Den Zeitplan der markierten Kategorie anzeigen</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::BrowseClipboardWindow</name>
    <message>
        <source>Browse Clipboard Saver</source>
        <translation>Zwischenablage-Archiv durchsehen</translation>
    </message>
    <message>
        <source>By Date</source>
        <translation>Nach Datum</translation>
    </message>
    <message>
        <source>By Content</source>
        <translation>Nach Inhalt</translation>
    </message>
    <message>
        <source>&amp;Copy to Clipboard</source>
        <translation>In &amp;Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Copy the highlighted record to the clipboard</source>
        <translation>Den markierten Eintrag in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Delete the highlighted record from the database</source>
        <translation>Den markierten Eintrag aus der Datenbank löschen</translation>
    </message>
    <message>
        <source>Clear &amp;All</source>
        <translation>&amp;Alle löschen</translation>
    </message>
    <message>
        <source>Delete every saved text, after asking</source>
        <translation>Alle gespeicherten Texte nach Rückfrage löschen</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
</context>
<context>
    <name>hrln::ui::BrowseContactsWindow</name>
    <message>
        <source>Contacts</source>
        <translation>Kontakte</translation>
    </message>
    <message>
        <source>&amp;Copy to Clipboard</source>
        <translation>In &amp;Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Copy the highlighted contact to the clipboard</source>
        <translation>Den markierten Kontakt in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Edit the highlighted contact</source>
        <translation>Den markierten Kontakt bearbeiten</translation>
    </message>
    <message>
        <source>Delete the highlighted contact and its links</source>
        <translation>Den markierten Kontakt und seine Verknüpfungen löschen</translation>
    </message>
    <message>
        <source>Cop&amp;y</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy record</source>
        <translation>Eintrag kopieren</translation>
    </message>
    <message>
        <source>&amp;Pick</source>
        <translation>&amp;Auswählen</translation>
    </message>
    <message>
        <source>Choose the contact category to show</source>
        <translation>Die anzuzeigende Kontakt-Kategorie wählen</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>Nachname</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>Vorname</translation>
    </message>
    <message>
        <source>Work/Day Phone</source>
        <translation>Telefon tagsüber</translation>
    </message>
    <message>
        <source>Home/Evening Phone</source>
        <translation>Telefon abends</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Address Line 1</source>
        <translation>Adresszeile 1</translation>
    </message>
    <message>
        <source>Address Line 2</source>
        <translation>Adresszeile 2</translation>
    </message>
    <message>
        <source>Address Line 3</source>
        <translation>Adresszeile 3</translation>
    </message>
    <message>
        <source>Postal Code</source>
        <translation>Postleitzahl</translation>
    </message>
    <message>
        <source>Add a new contact</source>
        <translation>Einen neuen Kontakt hinzufügen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::BrowseList</name>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::BrowseScheduleWindow</name>
    <message>
        <source>Skip Next Time</source>
        <translation>Nächsten überspringen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Deaktiviert</translation>
    </message>
    <message>
        <source>Not done</source>
        <translation>Offen</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Task Type</source>
        <translation>Aufgabentyp</translation>
    </message>
    <message>
        <source>Schedule Type</source>
        <translation>Zeitplantyp</translation>
    </message>
    <message>
        <source>Day Schedule</source>
        <translation>Tagesplan</translation>
    </message>
    <message>
        <source>All by Date</source>
        <translation>Alle nach Datum</translation>
    </message>
    <message>
        <source>All by Category</source>
        <translation>Alle nach Kategorie</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <source>Agenda</source>
        <translation>Agenda</translation>
    </message>
    <message>
        <source>Cop&amp;y</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy the highlighted task to a new task</source>
        <translation>Die markierte Aufgabe in eine neue kopieren</translation>
    </message>
    <message>
        <source>Delete the highlighted task</source>
        <translation>Die markierte Aufgabe löschen</translation>
    </message>
    <message>
        <source>Reschedule</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Rescheduling Wizard - ideal for holidays, and temporary changes</source>
        <translation>Verschiebe-Assistent – ideal für Feiertage und vorübergehende Änderungen</translation>
    </message>
    <message>
        <source>Run Now</source>
        <translation>Jetzt ausführen</translation>
    </message>
    <message>
        <source>Run the highlighted task</source>
        <translation>Die markierte Aufgabe ausführen</translation>
    </message>
    <message>
        <source>&amp;Pick Day</source>
        <translation>&amp;Tag wählen</translation>
    </message>
    <message>
        <source>Select a day for which to view tasks</source>
        <translation>Einen Tag wählen, dessen Aufgaben angezeigt werden</translation>
    </message>
    <message>
        <source>&amp;Pick Category</source>
        <translation>Kate&amp;gorie wählen</translation>
    </message>
    <message>
        <source>Select a category for which to view tasks</source>
        <translation>Eine Kategorie wählen, deren Aufgaben angezeigt werden</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Select criteria for schedule view</source>
        <translation>Suchkriterien für die Ansicht wählen</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Close this window</source>
        <translation>Dieses Fenster schließen</translation>
    </message>
    <message>
        <source>&amp;Scripting</source>
        <translation>&amp;Skript</translation>
    </message>
    <message>
        <source>View Schedule</source>
        <translation>Zeitplan anzeigen</translation>
    </message>
    <message>
        <source>View Schedule - %1</source>
        <translation>Zeitplan anzeigen – %1</translation>
    </message>
    <message>
        <source>From now to the end of %1</source>
        <translation>Von jetzt bis zum Ende von %1</translation>
    </message>
    <message>
        <source>Add a new task (tabbed)</source>
        <translation>Eine neue Aufgabe hinzufügen (mit Registerkarten)</translation>
    </message>
    <message>
        <source>Edit the highlighted task</source>
        <translation>Die markierte Aufgabe bearbeiten</translation>
    </message>
</context>
<context>
    <name>hrln::ui::BrowseScriptingWindow</name>
    <message>
        <source>Scripting</source>
        <translation>Skript</translation>
    </message>
    <message>
        <source>Sequence</source>
        <translation>Reihenfolge</translation>
    </message>
    <message>
        <source>Cop&amp;y</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy the highlighted script item</source>
        <translation>Den markierten Skriptschritt kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Move record up one</source>
        <translation>Eintrag eine Stelle nach oben</translation>
    </message>
    <message>
        <source>Move record to the top</source>
        <translation>Eintrag ganz nach oben</translation>
    </message>
    <message>
        <source>Move record down one</source>
        <translation>Eintrag eine Stelle nach unten</translation>
    </message>
    <message>
        <source>Move record to the bottom</source>
        <translation>Eintrag ganz nach unten</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>Im&amp;portieren</translation>
    </message>
    <message>
        <source>Import script items from a text file</source>
        <translation>Skriptschritte aus einer Textdatei importieren</translation>
    </message>
    <message>
        <source>E&amp;xport</source>
        <translation>E&amp;xportieren</translation>
    </message>
    <message>
        <source>Export script items from a text file - backup and transfer scripts, or use your own editor</source>
        <translation>Skriptschritte in eine Textdatei exportieren – zum Sichern, Übertragen oder Bearbeiten im eigenen Editor</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alle löschen</translation>
    </message>
    <message>
        <source>Clear all script items</source>
        <translation>Alle Skriptschritte löschen</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Print all script items for the current task</source>
        <translation>Alle Skriptschritte der Aufgabe drucken</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Export to File</source>
        <translation>In Datei exportieren</translation>
    </message>
    <message>
        <source>Choose File to Import</source>
        <translation>Zu importierende Datei wählen</translation>
    </message>
    <message>
        <source>Export File (*.hsx);;Text (*.txt);;All (*)</source>
        <translation>Exportdatei (*.hsx);;Text (*.txt);;Alle (*)</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Add a script item</source>
        <translation>Einen Skriptschritt hinzufügen</translation>
    </message>
    <message>
        <source>Edit the highlighted script item</source>
        <translation>Den markierten Skriptschritt bearbeiten</translation>
    </message>
    <message>
        <source>Delete the highlighted script item</source>
        <translation>Den markierten Skriptschritt löschen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::CalendarWindow</name>
    <message>
        <source>&amp;Month:</source>
        <translation>&amp;Monat:</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Voriger Monat</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>&amp;Year:</source>
        <translation>&amp;Jahr:</translation>
    </message>
    <message>
        <source>Previous year</source>
        <translation>Voriges Jahr</translation>
    </message>
    <message>
        <source>Next year</source>
        <translation>Nächstes Jahr</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::CategoryLists</name>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Update Category</source>
        <translation>Kategorie bearbeiten</translation>
    </message>
    <message>
        <source>Select a Category</source>
        <translation>Kategorie wählen</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>&amp;Category:</source>
        <translation>&amp;Kategorie:</translation>
    </message>
    <message>
        <source>category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Contact Categories</source>
        <translation>Kontakt-Kategorien</translation>
    </message>
    <message>
        <source>Update Contact Category</source>
        <translation>Kontakt-Kategorie bearbeiten</translation>
    </message>
    <message>
        <source>Select a Contact Category</source>
        <translation>Kontakt-Kategorie wählen</translation>
    </message>
    <message>
        <source>Contact Category</source>
        <translation>Kontakt-Kategorie</translation>
    </message>
    <message>
        <source>&amp;Contact Category:</source>
        <translation>&amp;Kontakt-Kategorie:</translation>
    </message>
    <message>
        <source>contact category</source>
        <translation>Kontakt-Kategorie</translation>
    </message>
</context>
<context>
    <name>hrln::ui::FieldChooserWindow</name>
    <message>
        <source>Schedule</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <source>Contacts</source>
        <translation>Kontakte</translation>
    </message>
    <message>
        <source>To Do</source>
        <translation>To-dos</translation>
    </message>
    <message>
        <source>Import %1 Fields</source>
        <translation>Felder für Import: %1</translation>
    </message>
    <message>
        <source>Export %1 Fields</source>
        <translation>Felder für Export: %1</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>&amp;Add &gt;</source>
        <translation>&amp;Hinzufügen &gt;</translation>
    </message>
    <message>
        <source>Add A&amp;ll &gt;&gt;</source>
        <translation>&amp;Alle hinzufügen &gt;&gt;</translation>
    </message>
    <message>
        <source>&lt; &amp;Remove</source>
        <translation>&lt; &amp;Entfernen</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>The first line &amp;names the columns</source>
        <translation>Die erste Zeile &amp;benennt die Spalten</translation>
    </message>
    <message>
        <source>Write a first line with the field &amp;names</source>
        <translation>Erste Zeile mit den Feld&amp;namen schreiben</translation>
    </message>
    <message>
        <source>A&amp;vailable fields:</source>
        <translation>&amp;Verfügbare Felder:</translation>
    </message>
    <message>
        <source>C&amp;hosen fields, in file order:</source>
        <translation>&amp;Gewählte Felder in Dateireihenfolge:</translation>
    </message>
    <message>
        <source>The file is UTF-8 text, one record per line ended by CR LF.</source>
        <translation>Die Datei ist UTF-8-Text, ein Datensatz je Zeile, Zeilenende CR LF.</translation>
    </message>
</context>
<context>
    <name>hrln::ui::FileDialogs</name>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>%1 File</source>
        <translation>%1-Datei</translation>
    </message>
    <message>
        <source>Choose a Program to Start</source>
        <translation>Zu startendes Programm wählen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::FormWindow</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::HelpWindow</name>
    <message>
        <source>Horalyn Help</source>
        <translation>Horalyn-Hilfe</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Open in B&amp;rowser</source>
        <translation>Im B&amp;rowser öffnen</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>A word to look for</source>
        <translation>Ein gesuchtes Wort</translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation>Such&amp;begriff:</translation>
    </message>
    <message>
        <source>Topics</source>
        <translation>Themen</translation>
    </message>
    <message>
        <source>&amp;Display</source>
        <translation>&amp;Anzeigen</translation>
    </message>
    <message>
        <source>Search &amp;Text</source>
        <translation>&amp;Volltextsuche</translation>
    </message>
    <message>
        <source>Look for the words in the whole guide, not only in its index</source>
        <translation>Die Wörter im ganzen Handbuch suchen, nicht nur im Stichwortverzeichnis</translation>
    </message>
    <message>
        <source>&amp;Places found:</source>
        <translation>&amp;Fundstellen:</translation>
    </message>
    <message>
        <source>Places found:</source>
        <translation>Fundstellen:</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
</context>
<context>
    <name>hrln::ui::MainFrame</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>Change the program&apos;s options</source>
        <translation>Die Optionen des Programms ändern</translation>
    </message>
    <message>
        <source>&amp;Print Setup</source>
        <translation>&amp;Druckereinrichtung</translation>
    </message>
    <message>
        <source>Choose a printer</source>
        <translation>Einen Drucker wählen</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>E&amp;xportieren</translation>
    </message>
    <message>
        <source>&amp;Schedule</source>
        <translation>&amp;Zeitplan</translation>
    </message>
    <message>
        <source>Comma-delimited schedule file</source>
        <translation>Zeitplan als kommagetrennte Datei</translation>
    </message>
    <message>
        <source>&amp;Contacts</source>
        <translation>&amp;Kontakte</translation>
    </message>
    <message>
        <source>Comma-delimited contacts file</source>
        <translation>Kontakte als kommagetrennte Datei</translation>
    </message>
    <message>
        <source>&amp;To Do</source>
        <translation>&amp;To-dos</translation>
    </message>
    <message>
        <source>Comma-delimited to-do file</source>
        <translation>To-dos als kommagetrennte Datei</translation>
    </message>
    <message>
        <source>Schedule as &amp;iCalendar</source>
        <translation>Zeitplan als &amp;iCalendar</translation>
    </message>
    <message>
        <source>iCalendar (.ics) file: each task an event</source>
        <translation>iCalendar-Datei (.ics): jede Aufgabe ein Termin</translation>
    </message>
    <message>
        <source>To Do as iCalen&amp;dar</source>
        <translation>To-dos als iCalen&amp;dar</translation>
    </message>
    <message>
        <source>iCalendar (.ics) file: each item a to-do</source>
        <translation>iCalendar-Datei (.ics): jeder Eintrag ein To-do</translation>
    </message>
    <message>
        <source>Contacts as &amp;vCards</source>
        <translation>Kontakte als &amp;vCards</translation>
    </message>
    <message>
        <source>vCard (.vcf) file, version 3.0 or 4.0</source>
        <translation>vCard-Datei (.vcf), Version 3.0 oder 4.0</translation>
    </message>
    <message>
        <source>iCalendar (.ics) file: each enabled task an event</source>
        <translation>iCalendar-Datei (.ics): jede aktive Aufgabe ein Termin</translation>
    </message>
    <message>
        <source>Schedule with &amp;History as iCalendar</source>
        <translation>Zeitplan mit Ver&amp;lauf als iCalendar</translation>
    </message>
    <message>
        <source>iCalendar (.ics) file: the enabled tasks, and each history entry a past event</source>
        <translation>iCalendar-Datei (.ics): die aktiven Aufgaben, jeder Verlaufseintrag ein vergangener Termin</translation>
    </message>
    <message>
        <source>Contacts as &amp;vCards 4.0</source>
        <translation>Kontakte als &amp;vCards 4.0</translation>
    </message>
    <message>
        <source>vCard 4.0 (.vcf) file</source>
        <translation>vCard-4.0-Datei (.vcf)</translation>
    </message>
    <message>
        <source>Contacts as vCards &amp;3.0</source>
        <translation>Kontakte als vCards &amp;3.0</translation>
    </message>
    <message>
        <source>vCard 3.0 (.vcf) file, for older address books</source>
        <translation>vCard-3.0-Datei (.vcf) für ältere Adressbücher</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Close Horalyn</source>
        <translation>Horalyn beenden</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Anzeigen</translation>
    </message>
    <message>
        <source>&amp;View Schedule</source>
        <translation>&amp;Zeitplan anzeigen</translation>
    </message>
    <message>
        <source>Browse the schedule</source>
        <translation>Den Zeitplan durchsehen</translation>
    </message>
    <message>
        <source>&amp;Wizards</source>
        <translation>&amp;Assistenten</translation>
    </message>
    <message>
        <source>Add &amp;Message</source>
        <translation>&amp;Nachricht hinzufügen</translation>
    </message>
    <message>
        <source>Add a message to be displayed</source>
        <translation>Eine anzuzeigende Nachricht hinzufügen</translation>
    </message>
    <message>
        <source>Add &amp;Program</source>
        <translation>&amp;Programm hinzufügen</translation>
    </message>
    <message>
        <source>Add a program to the schedule</source>
        <translation>Ein Programm zum Zeitplan hinzufügen</translation>
    </message>
    <message>
        <source>Generic &amp;Add </source>
        <translation>&amp;Allgemein hinzufügen </translation>
    </message>
    <message>
        <source>Add a message, program, both or neither</source>
        <translation>Nachricht, Programm, beides oder keines hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Quick Reminder</source>
        <translation>&amp;Schnellerinnerung</translation>
    </message>
    <message>
        <source>Add a message in one line: what, then when</source>
        <translation>Eine Nachricht in einer Zeile hinzufügen: was, dann wann</translation>
    </message>
    <message>
        <source>&amp;To Do List</source>
        <translation>&amp;To-do-Liste</translation>
    </message>
    <message>
        <source>View the To Do List with options to add or modify</source>
        <translation>Die To-do-Liste anzeigen, mit Hinzufügen und Ändern</translation>
    </message>
    <message>
        <source>Browse Contacts</source>
        <translation>Kontakte durchsehen</translation>
    </message>
    <message>
        <source>Clip&amp;board Saver</source>
        <translation>Zwischenablage-Arc&amp;hiv</translation>
    </message>
    <message>
        <source>Browse Clipboard Saver</source>
        <translation>Zwischenablage-Archiv durchsehen</translation>
    </message>
    <message>
        <source>Schedule Cate&amp;gories</source>
        <translation>Zeitplan-Katego&amp;rien</translation>
    </message>
    <message>
        <source>Browse Categories</source>
        <translation>Kategorien durchsehen</translation>
    </message>
    <message>
        <source>Contact Cat&amp;egories</source>
        <translation>Kontakt-Kat&amp;egorien</translation>
    </message>
    <message>
        <source>Browse Contact Categories</source>
        <translation>Kontakt-Kategorien durchsehen</translation>
    </message>
    <message>
        <source>&amp;Reports</source>
        <translation>&amp;Berichte</translation>
    </message>
    <message>
        <source>&amp;Date Order</source>
        <translation>Nach &amp;Datum</translation>
    </message>
    <message>
        <source>Tasks by date</source>
        <translation>Aufgaben nach Datum</translation>
    </message>
    <message>
        <source>&amp;Category Order</source>
        <translation>Nach &amp;Kategorie</translation>
    </message>
    <message>
        <source>Tasks by category</source>
        <translation>Aufgaben nach Kategorie</translation>
    </message>
    <message>
        <source>&amp;Brief Schedule</source>
        <translation>&amp;Übersicht</translation>
    </message>
    <message>
        <source>A brief schedule</source>
        <translation>Ein kurzer Zeitplan</translation>
    </message>
    <message>
        <source>For &amp;Specific Category</source>
        <translation>Für &amp;bestimmte Kategorie</translation>
    </message>
    <message>
        <source>Tasks of one category</source>
        <translation>Aufgaben einer Kategorie</translation>
    </message>
    <message>
        <source>C&amp;ontacts</source>
        <translation>&amp;Kontakte</translation>
    </message>
    <message>
        <source>List of contacts</source>
        <translation>Liste der Kontakte</translation>
    </message>
    <message>
        <source>C&amp;ategories</source>
        <translation>Kat&amp;egorien</translation>
    </message>
    <message>
        <source>Categories in category order</source>
        <translation>Kategorien in Reihenfolge</translation>
    </message>
    <message>
        <source>&amp;Priority</source>
        <translation>Nach &amp;Priorität</translation>
    </message>
    <message>
        <source>To-do items by priority</source>
        <translation>To-dos nach Priorität</translation>
    </message>
    <message>
        <source>&amp;Category</source>
        <translation>Nach &amp;Kategorie</translation>
    </message>
    <message>
        <source>To-do items by category</source>
        <translation>To-dos nach Kategorie</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Nebeneinander</translation>
    </message>
    <message>
        <source>Arrange the windows side by side</source>
        <translation>Die Fenster nebeneinander anordnen</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message>
        <source>Arrange the windows overlapping</source>
        <translation>Die Fenster überlappend anordnen</translation>
    </message>
    <message>
        <source>&amp;Arrange Icons</source>
        <translation>&amp;Symbole anordnen</translation>
    </message>
    <message>
        <source>Line up the minimised windows</source>
        <translation>Die minimierten Fenster aufreihen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Open the user guide at its contents</source>
        <translation>Das Handbuch beim Inhaltsverzeichnis öffnen</translation>
    </message>
    <message>
        <source>&amp;Search for Help On...</source>
        <translation>Hilfe &amp;durchsuchen...</translation>
    </message>
    <message>
        <source>Find a topic or a word in the user guide</source>
        <translation>Ein Thema oder Wort im Handbuch finden</translation>
    </message>
    <message>
        <source>&amp;How to Use Help</source>
        <translation>&amp;Anleitung zur Hilfe</translation>
    </message>
    <message>
        <source>How to find your way in the user guide</source>
        <translation>Wie man sich im Handbuch zurechtfindet</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber Horalyn</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Program Wizard</source>
        <translation>Programm-Assistent</translation>
    </message>
    <message>
        <source>Add a task to run a program</source>
        <translation>Eine Aufgabe hinzufügen, die ein Programm startet</translation>
    </message>
    <message>
        <source>Message Wizard</source>
        <translation>Nachrichten-Assistent</translation>
    </message>
    <message>
        <source>Add a task to display a message</source>
        <translation>Eine Aufgabe hinzufügen, die eine Nachricht anzeigt</translation>
    </message>
    <message>
        <source>Quick Reminder</source>
        <translation>Schnellerinnerung</translation>
    </message>
    <message>
        <source>View Schedule</source>
        <translation>Zeitplan anzeigen</translation>
    </message>
    <message>
        <source>To Do List</source>
        <translation>To-do-Liste</translation>
    </message>
    <message>
        <source>Stop Running Script</source>
        <translation>Laufendes Skript anhalten</translation>
    </message>
    <message>
        <source>Comma-Delimited Files (*.csv *.CSV);;All Files (*)</source>
        <translation>Kommagetrennte Dateien (*.csv *.CSV);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <source>Contacts</source>
        <translation>Kontakte</translation>
    </message>
    <message>
        <source>To Do</source>
        <translation>To-dos</translation>
    </message>
    <message>
        <source>iCalendar Files (*.ics *.ICS);;All Files (*)</source>
        <translation>iCalendar-Dateien (*.ics *.ICS);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>vCard Files (*.vcf *.VCF);;All Files (*)</source>
        <translation>vCard-Dateien (*.vcf *.VCF);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation>%1 importieren</translation>
    </message>
    <message>
        <source>Export %1</source>
        <translation>%1 exportieren</translation>
    </message>
</context>
<context>
    <name>hrln::ui::MessageDialog</name>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Message to display</source>
        <translation>Anzuzeigende Nachricht</translation>
    </message>
    <message>
        <source>&amp;Snooze</source>
        <translation>&amp;Später</translation>
    </message>
    <message>
        <source>Show this message again in ten minutes</source>
        <translation>Diese Nachricht in zehn Minuten erneut anzeigen</translation>
    </message>
    <message>
        <source>Snooze &amp;for</source>
        <translation>Später &amp;nach</translation>
    </message>
    <message>
        <source>Show this message again after a time you choose</source>
        <translation>Diese Nachricht nach einer wählbaren Zeit erneut anzeigen</translation>
    </message>
    <message>
        <source>&amp;Add to To Do List</source>
        <translation>Zur &amp;To-do-Liste hinzufügen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::ProgressWindow</name>
    <message>
        <source>Progress...</source>
        <translation>Fortschritt...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Processing Records</source>
        <translation>Verarbeitung...</translation>
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
        <translation>Bob anrufen in 10 Minuten</translation>
    </message>
    <message>
        <source>What to remind you of, then when: in 10 minutes, in 2 h, at 14:30, tomorrow 9:00</source>
        <translation>Woran erinnert werden soll, dann wann: in 10 Minuten, in 2 Std, um 14:30, morgen 9:00</translation>
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
<context>
    <name>hrln::ui::ReportOptionsWindow</name>
    <message>
        <source>Report Options</source>
        <translation>Berichtsoptionen</translation>
    </message>
    <message>
        <source>&amp;All dates</source>
        <translation>&amp;Alle Daten</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Von:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Bis:</translation>
    </message>
    <message>
        <source>The category to print</source>
        <translation>Die zu druckende Kategorie</translation>
    </message>
    <message>
        <source>Leave blank for every category</source>
        <translation>Leer lassen für alle Kategorien</translation>
    </message>
    <message>
        <source>&amp;Category:</source>
        <translation>&amp;Kategorie:</translation>
    </message>
    <message>
        <source>Include &amp;history entries</source>
        <translation>Ver&amp;laufseinträge einbeziehen</translation>
    </message>
    <message>
        <source>Include &amp;disabled tasks</source>
        <translation>&amp;Deaktivierte Aufgaben einbeziehen</translation>
    </message>
    <message>
        <source>Include d&amp;one items</source>
        <translation>&amp;Erledigte Einträge einbeziehen</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>Vorscha&amp;u</translation>
    </message>
</context>
<context>
    <name>hrln::ui::SearchScheduleWindow</name>
    <message>
        <source>Enter Search Criteria</source>
        <translation>Suchkriterien eingeben</translation>
    </message>
    <message>
        <source>Task &amp;Type:</source>
        <translation>Aufgaben&amp;typ:</translation>
    </message>
    <message>
        <source>&amp;Category:</source>
        <translation>&amp;Kategorie:</translation>
    </message>
    <message>
        <source>Text anywhere in the description</source>
        <translation>Text irgendwo in der Beschreibung</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>Beschreib&amp;ung:</translation>
    </message>
    <message>
        <source>Comma&amp;nd:</source>
        <translation>Be&amp;fehl:</translation>
    </message>
    <message>
        <source>Start &amp;in:</source>
        <translation>Sta&amp;rtordner:</translation>
    </message>
    <message>
        <source>Text anywhere in the message</source>
        <translation>Text irgendwo in der Nachricht</translation>
    </message>
    <message>
        <source>&amp;Message:</source>
        <translation>&amp;Nachricht:</translation>
    </message>
    <message>
        <source>Schedule T&amp;ype:</source>
        <translation>&amp;Zeitplantyp:</translation>
    </message>
    <message>
        <source>1st</source>
        <translation>1.</translation>
    </message>
    <message>
        <source>2nd</source>
        <translation>2.</translation>
    </message>
    <message>
        <source>3rd</source>
        <translation>3.</translation>
    </message>
    <message>
        <source>4th</source>
        <translation>4.</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Letzten</translation>
    </message>
    <message>
        <source>Every:</source>
        <translation>Alle:</translation>
    </message>
    <message>
        <source>On:</source>
        <translation>Am:</translation>
    </message>
    <message>
        <source>&amp;Repeat every:</source>
        <translation>&amp;Wiederholen alle:</translation>
    </message>
    <message>
        <source>A date as you write it, or YYYY-MM-DD</source>
        <translation>Ein Datum wie gewohnt geschrieben, oder JJJJ-MM-TT</translation>
    </message>
    <message>
        <source>Pick the date from a calendar</source>
        <translation>Das Datum aus einem Kalender wählen</translation>
    </message>
    <message>
        <source>A time of day: 9, 9:30, 21:30, 9.30pm</source>
        <translation>Eine Uhrzeit: 9, 9:30, 21:30, 9.30pm</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>Ne&amp;xt Date:</source>
        <translation>Nä&amp;chstes Datum:</translation>
    </message>
    <message>
        <source>&amp;Last Run:</source>
        <translation>&amp;Letzte Ausführung:</translation>
    </message>
    <message>
        <source>S&amp;kip Next Time</source>
        <translation>Nächsten Termin über&amp;springen</translation>
    </message>
    <message>
        <source>Grey: either; ticked: flagged to skip; clear: not flagged</source>
        <translation>Grau: egal; angekreuzt: zum Überspringen markiert; leer: nicht markiert</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Ad&amp;vance Warning:</source>
        <translation>&amp;Vorwarnung:</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>Suc&amp;hen</translation>
    </message>
    <message>
        <source>&amp;Edit This</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Ab hier weitersuchen</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>This process allows you to select/unselect
schedule items based on certain criteria.</source>
        <translation>Hier wählen Sie Aufgaben des Zeitplans
nach bestimmten Kriterien aus oder ab.</translation>
    </message>
</context>
<context>
    <name>hrln::ui::SearchTextWindow</name>
    <message>
        <source>Searching Text...</source>
        <translation>Text suchen...</translation>
    </message>
    <message>
        <source>Fi&amp;nd What:</source>
        <translation>&amp;Suchen nach:</translation>
    </message>
    <message>
        <source>Match &amp;Whole Word Only</source>
        <translation>Nur &amp;ganzes Wort</translation>
    </message>
    <message>
        <source>Match &amp;Case</source>
        <translation>Groß-/&amp;Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::SelectCategoriesWindow</name>
    <message>
        <source>&amp;Select</source>
        <translation>Aus&amp;wählen</translation>
    </message>
    <message>
        <source>Choose the highlighted %1</source>
        <translation>Die markierte %1 wählen</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::SelectScheduleWindow</name>
    <message>
        <source>Select a Task</source>
        <translation>Aufgabe wählen</translation>
    </message>
    <message>
        <source>By Date</source>
        <translation>Nach Datum</translation>
    </message>
    <message>
        <source>By Category</source>
        <translation>Nach Kategorie</translation>
    </message>
    <message>
        <source>Select &amp;Task</source>
        <translation>&amp;Aufgabe wählen</translation>
    </message>
    <message>
        <source>Link the highlighted task</source>
        <translation>Die markierte Aufgabe verknüpfen</translation>
    </message>
    <message>
        <source>&amp;Select Category</source>
        <translation>&amp;Kategorie wählen</translation>
    </message>
    <message>
        <source>Show only the tasks of one category</source>
        <translation>Nur die Aufgaben einer Kategorie zeigen</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
</context>
<context>
    <name>hrln::ui::SetupWindow</name>
    <message>
        <source>Setup</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>When Horalyn starts</source>
        <translation>Beim Start von Horalyn</translation>
    </message>
    <message>
        <source>Scheduler &amp;active</source>
        <translation>Planer &amp;aktiv</translation>
    </message>
    <message>
        <source>Start minimi&amp;zed</source>
        <translation>&amp;Minimiert starten</translation>
    </message>
    <message>
        <source>Open the &amp;schedule</source>
        <translation>&amp;Zeitplan öffnen</translation>
    </message>
    <message>
        <source>Open the &amp;to-do list</source>
        <translation>&amp;To-do-Liste öffnen</translation>
    </message>
    <message>
        <source>Open the clip&amp;board saver</source>
        <translation>Zwischenablage-Arc&amp;hiv öffnen</translation>
    </message>
    <message>
        <source>Open the &amp;contacts</source>
        <translation>&amp;Kontakte öffnen</translation>
    </message>
    <message>
        <source>Start Horalyn when I &amp;log in</source>
        <translation>Horalyn beim Anmel&amp;den starten</translation>
    </message>
    <message>
        <source>Windows and messages</source>
        <translation>Fenster und Nachrichten</translation>
    </message>
    <message>
        <source>Show the &amp;full schedule</source>
        <translation>&amp;Vollständigen Zeitplan zeigen</translation>
    </message>
    <message>
        <source>&amp;Hide the toolbar</source>
        <translation>&amp;Werkzeugleiste ausblenden</translation>
    </message>
    <message>
        <source>Ne&amp;ver use the notification area</source>
        <translation>Infobereich &amp;nie verwenden</translation>
    </message>
    <message>
        <source>&amp;Keep running in the notification area when the window is closed</source>
        <translation>Beim Schließen im Infobereich weiterlau&amp;fen</translation>
    </message>
    <message>
        <source>Brin&amp;g Horalyn back when a task runs</source>
        <translation>Horalyn zei&amp;gen, wenn eine Aufgabe läuft</translation>
    </message>
    <message>
        <source>Show messages as desktop notificat&amp;ions</source>
        <translation>Nachrichten als Desktop-Benachr&amp;ichtigungen</translation>
    </message>
    <message>
        <source>Messages wait for an ans&amp;wer</source>
        <translation>Nachrichten warten auf Antwo&amp;rt</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>&amp;Repeat the alarm every:</source>
        <translation>Alarm wi&amp;ederholen alle:</translation>
    </message>
    <message>
        <source>History, users and clipboard</source>
        <translation>Verlauf, Benutzer und Zwischenablage</translation>
    </message>
    <message>
        <source> days</source>
        <translation> Tage</translation>
    </message>
    <message>
        <source>Also remove &amp;disabled tasks</source>
        <translation>Auch deaktivierte Aufgaben &amp;löschen</translation>
    </message>
    <message>
        <source>Keep an &amp;event log</source>
        <translation>Ereignis&amp;protokoll führen</translation>
    </message>
    <message>
        <source>Several &amp;users share the schedule</source>
        <translation>Mehrere &amp;Benutzer teilen den Zeitplan</translation>
    </message>
    <message>
        <source>Save what is c&amp;opied</source>
        <translation>K&amp;opiertes speichern</translation>
    </message>
    <message>
        <source> texts</source>
        <translation> Texte</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>unbegrenzt</translation>
    </message>
    <message>
        <source>Re&amp;move history after:</source>
        <translation>Verlauf lö&amp;schen nach:</translation>
    </message>
    <message>
        <source>User &amp;name:</source>
        <translation>Ben&amp;utzername:</translation>
    </message>
    <message>
        <source>Ma&amp;ximum kept:</source>
        <translation>Ma&amp;ximal behalten:</translation>
    </message>
    <message>
        <source>Scripts</source>
        <translation>Skripte</translation>
    </message>
    <message>
        <source> hundredths</source>
        <translation> Hundertstel</translation>
    </message>
    <message>
        <source> keys</source>
        <translation> Tasten</translation>
    </message>
    <message>
        <source>&amp;Pause between items:</source>
        <translation>Pause je S&amp;chritt:</translation>
    </message>
    <message>
        <source>Ke&amp;ys sent at once:</source>
        <translation>Tasten &amp;je Schub:</translation>
    </message>
    <message>
        <source>Housekeeping</source>
        <translation>Aufräumen</translation>
    </message>
    <message>
        <source>Remove disabled tasks</source>
        <translation>Deaktivierte Aufgaben löschen</translation>
    </message>
    <message>
        <source>Remove completed tasks</source>
        <translation>Erledigte Aufgaben löschen</translation>
    </message>
    <message>
        <source>Clear To Do list</source>
        <translation>To-do-Liste leeren</translation>
    </message>
    <message>
        <source>Reset saved window settings</source>
        <translation>Gespeicherte Fenstereinstellungen zurücksetzen</translation>
    </message>
    <message>
        <source>Remove active scripts</source>
        <translation>Aktive Skripte entfernen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::StartProgramAdvancedWindow</name>
    <message>
        <source>Advanced...</source>
        <translation>Erweitert...</translation>
    </message>
    <message>
        <source>&amp;Wait For Program End</source>
        <translation>Auf Programmende &amp;warten</translation>
    </message>
    <message>
        <source>0: wait as long as the program runs</source>
        <translation>0: warten, solange das Programm läuft</translation>
    </message>
    <message>
        <source>&amp;Time out for wait (seconds):</source>
        <translation>&amp;Zeitlimit (Sekunden):</translation>
    </message>
    <message>
        <source>Process Priority</source>
        <translation>Prozesspriorität</translation>
    </message>
    <message>
        <source>&amp;Low</source>
        <translation>&amp;Niedrig</translation>
    </message>
    <message>
        <source>&amp;Normal</source>
        <translation>No&amp;rmal</translation>
    </message>
    <message>
        <source>&amp;High</source>
        <translation>&amp;Hoch</translation>
    </message>
    <message>
        <source>Window Mode</source>
        <translation>Fenstermodus</translation>
    </message>
    <message>
        <source>Start and give &amp;focus</source>
        <translation>Starten mit &amp;Fokus</translation>
    </message>
    <message>
        <source>Start &amp;minimized with focus</source>
        <translation>&amp;Minimiert mit Fokus</translation>
    </message>
    <message>
        <source>Start minimized without foc&amp;us</source>
        <translation>Minimiert ohne Fo&amp;kus</translation>
    </message>
    <message>
        <source>Start without focu&amp;s</source>
        <translation>Ohne Fokus &amp;starten</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>hrln::ui::TextLimit</name>
    <message>
        <source>%1: up to %2 characters.</source>
        <translation>%1: höchstens %2 Zeichen.</translation>
    </message>
    <message>
        <source>This field</source>
        <translation>Dieses Feld</translation>
    </message>
</context>
<context>
    <name>hrln::ui::UpdateClipboardWindow</name>
    <message>
        <source>Update the Clipboard File</source>
        <translation>Zwischenablage-Eintrag bearbeiten</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>&amp;Clip Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
    <message>
        <source>Clip &amp;Time:</source>
        <translation>&amp;Uhrzeit:</translation>
    </message>
    <message>
        <source>Contents:</source>
        <translation>Inhalt:</translation>
    </message>
</context>
<context>
    <name>hrln::ui::UpdateContactsWindow</name>
    <message>
        <source>Update the Contact File</source>
        <translation>Kontakt bearbeiten</translation>
    </message>
    <message>
        <source>Enter up to 30 characters</source>
        <translation>Bis zu 30 Zeichen eingeben</translation>
    </message>
    <message>
        <source>&amp;Last Name:</source>
        <translation>&amp;Nachname:</translation>
    </message>
    <message>
        <source>&amp;First Name:</source>
        <translation>&amp;Vorname:</translation>
    </message>
    <message>
        <source>Contact Category:</source>
        <translation>Kontakt-Kategorie:</translation>
    </message>
    <message>
        <source>Address Line 1:</source>
        <translation>Adresszeile 1:</translation>
    </message>
    <message>
        <source>Address Line 2:</source>
        <translation>Adresszeile 2:</translation>
    </message>
    <message>
        <source>&amp;Address Line 3:</source>
        <translation>&amp;Adresszeile 3:</translation>
    </message>
    <message>
        <source>&amp;Postal Code:</source>
        <translation>&amp;Postleitzahl:</translation>
    </message>
    <message>
        <source>&amp;Work/Day Phone:</source>
        <translation>Telefon &amp;tagsüber:</translation>
    </message>
    <message>
        <source>&amp;Home/Evening Phone:</source>
        <translation>Telefon aben&amp;ds:</translation>
    </message>
    <message>
        <source>Fa&amp;x:</source>
        <translation>Fa&amp;x:</translation>
    </message>
    <message>
        <source>O&amp;ther Phone:</source>
        <translation>&amp;Weiteres Telefon:</translation>
    </message>
    <message>
        <source>E&amp;mail:</source>
        <translation>E-&amp;Mail:</translation>
    </message>
    <message>
        <source>We&amp;b Site:</source>
        <translation>W&amp;ebsite:</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Related Tasks</source>
        <translation>Zugehörige Aufgaben</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>E&amp;infügen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::UpdateLinkWindow</name>
    <message>
        <source>Update the Link File</source>
        <translation>Verknüpfung bearbeiten</translation>
    </message>
    <message>
        <source>Task:</source>
        <translation>Aufgabe:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>&amp;Select Task...</source>
        <translation>Aufgabe &amp;wählen...</translation>
    </message>
    <message>
        <source>Choose the task to link the contact to</source>
        <translation>Die Aufgabe wählen, mit der der Kontakt verknüpft wird</translation>
    </message>
</context>
<context>
    <name>hrln::ui::UpdateScheduleWindow</name>
    <message>
        <source>Update the Schedule</source>
        <translation>Zeitplan bearbeiten</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>Aufgabe</translation>
    </message>
    <message>
        <source>When</source>
        <translation>Wann</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Task Type</source>
        <translation>Aufgabentyp</translation>
    </message>
    <message>
        <source>Ca&amp;tegory:</source>
        <translation>Ka&amp;tegorie:</translation>
    </message>
    <message>
        <source>Description or Title of Task</source>
        <translation>Beschreibung oder Titel der Aufgabe</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>Beschreib&amp;ung:</translation>
    </message>
    <message>
        <source>Program to start</source>
        <translation>Zu startendes Programm</translation>
    </message>
    <message>
        <source>Comma&amp;nd:</source>
        <translation>Be&amp;fehl:</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Durchsuchen</translation>
    </message>
    <message>
        <source>Select a program to start</source>
        <translation>Zu startendes Programm auswählen</translation>
    </message>
    <message>
        <source>Directory (Folder) to start the command in</source>
        <translation>Ordner, in dem der Befehl startet</translation>
    </message>
    <message>
        <source>Start &amp;in:</source>
        <translation>Starten &amp;in:</translation>
    </message>
    <message>
        <source>TIP:  If you just want to use scripting, enter &quot;N/A&quot; as the command above.</source>
        <translation>TIPP: Nur für ein Skript oben „N/A“ als Befehl eintragen.</translation>
    </message>
    <message>
        <source>&amp;Scripting</source>
        <translation>&amp;Skript</translation>
    </message>
    <message>
        <source>Edit the script of this task</source>
        <translation>Das Skript dieser Aufgabe bearbeiten</translation>
    </message>
    <message>
        <source>&lt;- Press this to send keystrokes or DDE commands</source>
        <translation>&lt;- Hiermit Tastenanschläge oder DDE-Befehle senden</translation>
    </message>
    <message>
        <source>&amp;Command</source>
        <translation>&amp;Befehl</translation>
    </message>
    <message>
        <source>Message to display</source>
        <translation>Anzuzeigende Nachricht</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>&amp;Message</source>
        <translation>&amp;Nachricht</translation>
    </message>
    <message>
        <source>Schedule &amp;Type</source>
        <translation>&amp;Zeitplantyp</translation>
    </message>
    <message>
        <source>&amp;Every...</source>
        <translation>&amp;Jeden...</translation>
    </message>
    <message>
        <source>1st</source>
        <translation>1.</translation>
    </message>
    <message>
        <source>2nd</source>
        <translation>2.</translation>
    </message>
    <message>
        <source>3rd</source>
        <translation>3.</translation>
    </message>
    <message>
        <source>4th</source>
        <translation>4.</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Letzten</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>Sonntag</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation>Dienstag</translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation>Mittwoch</translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation>Donnerstag</translation>
    </message>
    <message>
        <source>Friday</source>
        <translation>Freitag</translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation>Samstag</translation>
    </message>
    <message>
        <source>Every:</source>
        <translation>Alle:</translation>
    </message>
    <message>
        <source>Repeat Task Every...</source>
        <translation>Aufgabe wiederholen alle...</translation>
    </message>
    <message>
        <source>Next Date to Perform Task</source>
        <translation>Nächstes Datum der Ausführung</translation>
    </message>
    <message>
        <source>&amp;Next Date to Perform Task:</source>
        <translation>&amp;Nächstes Datum:</translation>
    </message>
    <message>
        <source>Select Date</source>
        <translation>Datum wählen</translation>
    </message>
    <message>
        <source>Next Time to Perform Task</source>
        <translation>Nächste Uhrzeit der Ausführung</translation>
    </message>
    <message>
        <source>T&amp;ime:</source>
        <translation>&amp;Uhrzeit:</translation>
    </message>
    <message>
        <source>Date Last Performed:</source>
        <translation>Zuletzt ausgeführt am:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>&amp;Skip Next Time</source>
        <translation>Nächsten Termin über&amp;springen</translation>
    </message>
    <message>
        <source>Skip next occurance of this task</source>
        <translation>Nächsten Termin dieser Aufgabe überspringen</translation>
    </message>
    <message>
        <source>Advanced Warning Date</source>
        <translation>Datum der Vorwarnung</translation>
    </message>
    <message>
        <source>&amp;Advance Warning Date:</source>
        <translation>&amp;Vorwarnung am:</translation>
    </message>
    <message>
        <source>Advanced Warning Time</source>
        <translation>Uhrzeit der Vorwarnung</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Play a WAV file as an alarm</source>
        <translation>Eine WAV-Datei als Alarm abspielen</translation>
    </message>
    <message>
        <source>WAV File to Play:</source>
        <translation>Abzuspielende WAV-Datei:</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>Abs&amp;pielen</translation>
    </message>
    <message>
        <source>&amp;Warn if not run on specified date</source>
        <translation>Warne&amp;n, wenn nicht am Termin ausgeführt</translation>
    </message>
    <message>
        <source>&amp;Skip if not run at specified time (+/- 10 minutes)</source>
        <translation>Über&amp;springen, wenn nicht zur Zeit ausgeführt (±10 Minuten)</translation>
    </message>
    <message>
        <source>Before performing task, give option to s&amp;kip</source>
        <translation>Vor dem Ausführen nach Überspringen fra&amp;gen</translation>
    </message>
    <message>
        <source>&amp;Disable</source>
        <translation>D&amp;eaktivieren</translation>
    </message>
    <message>
        <source>Do not perform this task</source>
        <translation>Diese Aufgabe nicht ausführen</translation>
    </message>
    <message>
        <source>No &amp;History</source>
        <translation>&amp;Keinen Verlauf</translation>
    </message>
    <message>
        <source>Do not show history (remove when completed)</source>
        <translation>Keinen Verlauf zeigen (nach Erledigung löschen)</translation>
    </message>
    <message>
        <source>Select WAV File for Alarm</source>
        <translation>WAV-Datei für den Alarm wählen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::UpdateScriptingWindow</name>
    <message>
        <source>Update Scripting</source>
        <translation>Skriptschritt bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>&amp;Aktion</translation>
    </message>
    <message>
        <source>Keystrokes</source>
        <translation>Tastenanschläge</translation>
    </message>
    <message>
        <source>Wait</source>
        <translation>Warten</translation>
    </message>
    <message>
        <source>Set Focus</source>
        <translation>Fokus setzen</translation>
    </message>
    <message>
        <source>If Window</source>
        <translation>Wenn Fenster</translation>
    </message>
    <message>
        <source>If Time</source>
        <translation>Wenn Zeit</translation>
    </message>
    <message>
        <source>End If</source>
        <translation>Ende Wenn</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Start Program</source>
        <translation>Programm starten</translation>
    </message>
    <message>
        <source>Close Program</source>
        <translation>Programm schließen</translation>
    </message>
    <message>
        <source>Exit Script</source>
        <translation>Skript beenden</translation>
    </message>
    <message>
        <source>Desktop Bus</source>
        <translation>Desktop-Bus</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>&amp;Keystrokes:</source>
        <translation>&amp;Tastenanschläge:</translation>
    </message>
    <message>
        <source>View List of Abbreviations</source>
        <translation>Liste der Kürzel anzeigen</translation>
    </message>
    <message>
        <source>&amp;Seconds To Wait Before Next Script Item Executes:</source>
        <translation>&amp;Sekunden Wartezeit vor dem nächsten Schritt:</translation>
    </message>
    <message>
        <source>Wait For &amp;Window:</source>
        <translation>Auf &amp;Fenster warten:</translation>
    </message>
    <message>
        <source>  A leading ~ waits for the window to disappear (&quot;~Untitled*&quot;).</source>
        <translation>  Ein vorangestelltes ~ wartet, bis das Fenster verschwindet („~Untitled*“).</translation>
    </message>
    <message>
        <source>Foc&amp;us On Window:</source>
        <translation>Fokus auf F&amp;enster:</translation>
    </message>
    <message>
        <source>Set Focus:  Brings the window to the front with the keyboard focus.  </source>
        <translation>Fokus setzen:  Holt das Fenster mit dem Tastaturfokus nach vorn.  </translation>
    </message>
    <message>
        <source>Condition</source>
        <translation>Bedingung</translation>
    </message>
    <message>
        <source>Window &amp;Title To Check For:</source>
        <translation>Zu prüfender Fenster&amp;titel:</translation>
    </message>
    <message>
        <source>Time (&amp;seconds):</source>
        <translation>Zeit (&amp;Sekunden):</translation>
    </message>
    <message>
        <source>No information is required for this action.</source>
        <translation>Für diese Aktion sind keine Angaben nötig.</translation>
    </message>
    <message>
        <source>Message &amp;Title:</source>
        <translation>Nachrichten&amp;titel:</translation>
    </message>
    <message>
        <source>&amp;Message:</source>
        <translation>&amp;Nachricht:</translation>
    </message>
    <message>
        <source>This will display a message with a title, and OK button.</source>
        <translation>Zeigt eine Nachricht mit Titel und OK-Schaltfläche an.</translation>
    </message>
    <message>
        <source>Program to start</source>
        <translation>Zu startendes Programm</translation>
    </message>
    <message>
        <source>Comma&amp;nd:</source>
        <translation>Be&amp;fehl:</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Durchsuchen</translation>
    </message>
    <message>
        <source>Select an application to start</source>
        <translation>Ein zu startendes Programm wählen</translation>
    </message>
    <message>
        <source>Directory (Folder) to start the command in</source>
        <translation>Ordner, in dem der Befehl startet</translation>
    </message>
    <message>
        <source>Start &amp;in:</source>
        <translation>Starten &amp;in:</translation>
    </message>
    <message>
        <source>Ad&amp;vanced</source>
        <translation>Er&amp;weitert</translation>
    </message>
    <message>
        <source>Bus name of the program</source>
        <translation>Busname des Programms</translation>
    </message>
    <message>
        <source>DDE Application &amp;Name:</source>
        <translation>DDE-Anwendungs&amp;name:</translation>
    </message>
    <message>
        <source>Object path</source>
        <translation>Objektpfad</translation>
    </message>
    <message>
        <source>DDE A&amp;pplication Topic:</source>
        <translation>DDE-Anwendungs&amp;thema:</translation>
    </message>
    <message>
        <source>interface.Method(args)</source>
        <translation>interface.Method(args)</translation>
    </message>
    <message>
        <source>DDE &amp;Command:</source>
        <translation>DDE-&amp;Befehl:</translation>
    </message>
    <message>
        <source>O&amp;ther action:</source>
        <translation>Ande&amp;re Aktion:</translation>
    </message>
    <message>
        <source>A window is named by a title pattern, letter case ignored: the whole title (&quot;Untitled - Text Editor&quot;), the start of a title followed by * (&quot;Untitled*&quot;), * followed by a phrase the title contains (&quot;*Text Editor&quot;), or pick a title of an open window from the list.</source>
        <translation>Ein Fenster wird über ein Titelmuster benannt, Groß- und Kleinschreibung zählt nicht: der ganze Titel („Unbenannt - Texteditor“), der Anfang eines Titels gefolgt von * („Unbenannt*“), * gefolgt von einem Wort des Titels („*Texteditor“), oder ein Titel eines offenen Fensters aus der Liste.</translation>
    </message>
    <message>
        <source>Send Keystrokes:  The keys are typed into the program that has the focus when the item runs.  Special keys are written as a key name in square brackets, for example &quot;[AltB]&quot; or &quot;[Enter]&quot;.</source>
        <translation>Tasten senden:  Die Tasten werden in das Programm getippt, das beim Ausführen des Schritts den Fokus hat.  Sondertasten werden als Tastenname in eckigen Klammern geschrieben, zum Beispiel „[AltB]“ oder „[Enter]“.</translation>
    </message>
    <message>
        <source>Wait:  Waits a number of seconds, for a window, or both: with &quot;And&quot; until both have come, with &quot;Or&quot; until the first of them.  Leave blank what does not apply.  </source>
        <translation>Warten:  Wartet eine Anzahl Sekunden, auf ein Fenster oder beides: mit „Und“, bis beides eingetreten ist, mit „Oder“, bis das Erste davon eintritt.  Was nicht zutrifft, bleibt leer.  </translation>
    </message>
    <message>
        <source>If Window:  The items up to the next &quot;...End If&quot; run only if the condition holds.  </source>
        <translation>Wenn Fenster:  Die Schritte bis zum nächsten „...Ende Wenn“ laufen nur, wenn die Bedingung zutrifft.  </translation>
    </message>
    <message>
        <source>If Time Elapsed:  The items up to the next &quot;...End If&quot; run only if the condition holds.  The time is measured from the script&apos;s first item.</source>
        <translation>Wenn Zeit verstrichen:  Die Schritte bis zum nächsten „...Ende Wenn“ laufen nur, wenn die Bedingung zutrifft.  Die Zeit zählt ab dem ersten Schritt des Skripts.</translation>
    </message>
    <message>
        <source>Start Program:  Starts a program, or opens a document with the program the desktop associates with it.  The start folder defaults to the folder of a program chosen with Browse; left blank, the program starts in the scheduler&apos;s own folder.</source>
        <translation>Programm starten:  Startet ein Programm oder öffnet ein Dokument mit dem Programm, das die Arbeitsumgebung ihm zuordnet.  Der Startordner ist zunächst der Ordner eines mit Durchsuchen gewählten Programms; bleibt er leer, startet das Programm im Ordner des Planers.</translation>
    </message>
    <message>
        <source>Close Program:  Closes the window or application that has the focus when the item runs, as its own close button would.  Sending the keys [AltF4] is usually the safer way to end a program.</source>
        <translation>Programm schließen:  Schließt das Fenster oder Programm, das beim Ausführen des Schritts den Fokus hat, wie dessen eigene Schließen-Schaltfläche.  Die Tasten [AltF4] zu senden, beendet ein Programm meist sicherer.</translation>
    </message>
    <message>
        <source>Exit Script:  This will exit the script at this point. Usually this script action is used in conjunction with an &quot;If...&quot; script action.</source>
        <translation>Skript beenden:  Beendet das Skript an dieser Stelle.  Meist steht dieser Schritt zusammen mit einem „Wenn...“-Schritt.</translation>
    </message>
    <message>
        <source>Desktop bus:  Calls a method of a program on the session bus; the program must already be running.  Application Name is the program&apos;s bus name, Topic the path of the object, and Command the interface, a dot, the method and its arguments in brackets.  The names are those the program documents (busctl --user list shows who is on the bus).  For example, to pause a media player: Application Name &quot;org.mpris.MediaPlayer2.vlc&quot;, Topic &quot;/org/mpris/MediaPlayer2&quot;, Command &quot;org.mpris.MediaPlayer2.Player.Pause()&quot;.</source>
        <translation>Desktop-Bus:  Ruft eine Methode eines Programms auf dem Sitzungsbus auf; das Programm muss schon laufen.  Der Anwendungsname ist der Busname des Programms, das Thema der Pfad des Objekts und der Befehl die Schnittstelle, ein Punkt, die Methode und ihre Argumente in Klammern.  Die Namen dokumentiert das jeweilige Programm (busctl --user list zeigt, wer auf dem Bus ist).  Zum Beispiel, um eine Medienwiedergabe anzuhalten: Anwendungsname „org.mpris.MediaPlayer2.vlc“, Thema „/org/mpris/MediaPlayer2“, Befehl „org.mpris.MediaPlayer2.Player.Pause()“.</translation>
    </message>
    <message>
        <source>This item&apos;s action is not one the editor knows.  Enter the action it should run, or pick one from the Action list.</source>
        <translation>Die Aktion dieses Schritts kennt der Editor nicht.  Geben Sie die auszuführende Aktion ein oder wählen Sie eine aus der Aktionsliste.</translation>
    </message>
</context>
<context>
    <name>hrln::ui::UpdateTodoWindow</name>
    <message>
        <source>Update To Do Item</source>
        <translation>To-do bearbeiten</translation>
    </message>
    <message>
        <source>&amp;To Do:</source>
        <translation>&amp;To-do:</translation>
    </message>
    <message>
        <source>&amp;Priority:</source>
        <translation>&amp;Priorität:</translation>
    </message>
    <message>
        <source>&amp;Category:</source>
        <translation>&amp;Kategorie:</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Erledigt</translation>
    </message>
    <message>
        <source>Completion Date:</source>
        <translation>Erledigt am:</translation>
    </message>
    <message>
        <source>Completion Time:</source>
        <translation>Erledigt um:</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>hrln::ui::ViewScriptKeysWindow</name>
    <message>
        <source>List of Key Abbreviations</source>
        <translation>Liste der Tastenkürzel</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Reading File</source>
        <translation>Datei wird gelesen</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
</context>
<context>
    <name>hrln::ui::ViewToDoWindow</name>
    <message>
        <source>To Do List - %1</source>
        <translation>To-do-Liste – %1</translation>
    </message>
    <message>
        <source>&amp;Toggle Done Status</source>
        <translation>Erledigt &amp;umschalten</translation>
    </message>
    <message>
        <source>Mark the highlighted item done or not done</source>
        <translation>Den markierten Eintrag als erledigt oder offen markieren</translation>
    </message>
    <message>
        <source>P&amp;ick</source>
        <translation>&amp;Auswählen</translation>
    </message>
    <message>
        <source>Choose the category to show</source>
        <translation>Die anzuzeigende Kategorie wählen</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>Not done</source>
        <translation>Offen</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priorität</translation>
    </message>
    <message>
        <source>To Do</source>
        <translation>To-dos</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Completion Date</source>
        <translation>Erledigt am</translation>
    </message>
    <message>
        <source>Completion Time</source>
        <translation>Erledigt um</translation>
    </message>
    <message>
        <source>Do&amp;ne</source>
        <translation>&amp;Erledigt</translation>
    </message>
    <message>
        <source>&amp;Priority</source>
        <translation>Nach &amp;Priorität</translation>
    </message>
    <message>
        <source>Cate&amp;gory</source>
        <translation>Kate&amp;gorie</translation>
    </message>
</context>
<context>
    <name>hrln::ui::WizardWindow</name>
    <message>
        <source>&lt;- &amp;Back</source>
        <translation>&lt;- &amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next -&gt;</source>
        <translation>&amp;Weiter -&gt;</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Fertigstellen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Task Type</source>
        <translation>Aufgabentyp</translation>
    </message>
    <message>
        <source>&amp;Category:</source>
        <translation>&amp;Kategorie:</translation>
    </message>
    <message>
        <source>Description or Title of Task</source>
        <translation>Beschreibung oder Titel der Aufgabe</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>Beschreib&amp;ung:</translation>
    </message>
    <message>
        <source>Program to start</source>
        <translation>Zu startendes Programm</translation>
    </message>
    <message>
        <source>B&amp;rowse</source>
        <translation>&amp;Durchsuchen</translation>
    </message>
    <message>
        <source>Select a program to start</source>
        <translation>Zu startendes Programm auswählen</translation>
    </message>
    <message>
        <source>&amp;Command:</source>
        <translation>&amp;Befehl:</translation>
    </message>
    <message>
        <source>Directory (Folder) to start the command in</source>
        <translation>Ordner, in dem der Befehl startet</translation>
    </message>
    <message>
        <source>Start &amp;in:</source>
        <translation>Starten &amp;in:</translation>
    </message>
    <message>
        <source>&amp;Scripting</source>
        <translation>&amp;Skript</translation>
    </message>
    <message>
        <source>Send keystrokes, DDE commands, etc.</source>
        <translation>Tastenanschläge, DDE-Befehle usw. senden</translation>
    </message>
    <message>
        <source>Message to display</source>
        <translation>Anzuzeigende Nachricht</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Schedule &amp;Type</source>
        <translation>Zeitplan&amp;typ</translation>
    </message>
    <message>
        <source>&amp;Every...</source>
        <translation>&amp;Jeden...</translation>
    </message>
    <message>
        <source>1st</source>
        <translation>1.</translation>
    </message>
    <message>
        <source>2nd</source>
        <translation>2.</translation>
    </message>
    <message>
        <source>3rd</source>
        <translation>3.</translation>
    </message>
    <message>
        <source>4th</source>
        <translation>4.</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Letzten</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>Sonntag</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation>Dienstag</translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation>Mittwoch</translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation>Donnerstag</translation>
    </message>
    <message>
        <source>Friday</source>
        <translation>Freitag</translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation>Samstag</translation>
    </message>
    <message>
        <source>Every:</source>
        <translation>Alle:</translation>
    </message>
    <message>
        <source>Repeat Task Every...</source>
        <translation>Aufgabe wiederholen alle...</translation>
    </message>
    <message>
        <source>Next Date to Perform Task</source>
        <translation>Nächstes Datum der Ausführung</translation>
    </message>
    <message>
        <source>Select Date</source>
        <translation>Datum wählen</translation>
    </message>
    <message>
        <source>Next &amp;Date to Perform Task:</source>
        <translation>Nächstes &amp;Datum:</translation>
    </message>
    <message>
        <source>Next Time to Perform Task</source>
        <translation>Nächste Uhrzeit der Ausführung</translation>
    </message>
    <message>
        <source>T&amp;ime:</source>
        <translation>&amp;Uhrzeit:</translation>
    </message>
    <message>
        <source>Skip next occurance of this task</source>
        <translation>Nächsten Termin dieser Aufgabe überspringen</translation>
    </message>
    <message>
        <source>Advance Warning Date (blank: none)</source>
        <translation>Datum der Vorwarnung (leer: keine)</translation>
    </message>
    <message>
        <source>&amp;Advance Warning Date:</source>
        <translation>&amp;Vorwarnung am:</translation>
    </message>
    <message>
        <source>Advanced Warning Time</source>
        <translation>Uhrzeit der Vorwarnung</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Play a WAV file as an alarm</source>
        <translation>Eine WAV-Datei als Alarm abspielen</translation>
    </message>
    <message>
        <source>WAV File to Play:</source>
        <translation>Abzuspielende WAV-Datei:</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>Abs&amp;pielen</translation>
    </message>
    <message>
        <source>&amp;Warn if not run on specified date</source>
        <translation>Warne&amp;n, wenn nicht am Termin ausgeführt</translation>
    </message>
    <message>
        <source>Before performing task, give option to s&amp;kip</source>
        <translation>Vor dem Ausführen nach Überspringen fra&amp;gen</translation>
    </message>
    <message>
        <source>&amp;Disable</source>
        <translation>D&amp;eaktivieren</translation>
    </message>
    <message>
        <source>Do not perform this task</source>
        <translation>Diese Aufgabe nicht ausführen</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
</context>
</TS>
