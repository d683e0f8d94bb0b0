#include "common/Messages.h"
#include "platform/Dialogs.h"
#include "record/FieldChecks.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace record;

TEST(FieldChecks, TimeCheckAndItsMessages)
{
    const struct
    {
        QString value;
        int message;
    } cases[] = {
        {"00:00", 0},
        {"23:59", 0},
        {"   ", 0},
        {"25:00", kMessageHourRange},
        {"12:60", kMessageMinuteRange},
        {"12.30", kMessageTimeFormat},
        {"123:45", kMessageHourRange}, // length
        {"9:30", kMessageHourRange},   // length
        {" 9:30", kMessageHourRange},  // two digits, not a number with a blank
        {"ab:30", kMessageHourRange},
        {"12:5a", kMessageMinuteRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        testing_support::TestEnvironment env;
        EXPECT_EQ(timeMessageNumber(c.value), c.message);
        EXPECT_EQ(sub_Heure_Vérifier(c.value, false), c.message != 0);
        EXPECT_TRUE(env.dialogs().asked().isEmpty());
        if (c.message == 0)
            continue;
        env.dialogs().answer(platform::mb::OK);
        EXPECT_TRUE(sub_Heure_Vérifier(c.value, true));
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        EXPECT_EQ(env.dialogs().asked()[0].text,
                  common::buildMessageBox(qint16(c.message), 0, QString(), QString()).texte);
    }
}

TEST(FieldChecks, VisitDateAgainstTodayAndTheSeason)
{
    testing_support::TestEnvironment env; // today: 15 June 2010
    const QString outside = "Date de passage hors période par rapport à la saison d'observation ";
    const struct
    {
        QString typed, season, date, message;
    } cases[] = {
        {"", "Hiver 2009-2010", "", ""},
        {"01/11/2009", "Hiver 2009-2010", "01/11/2009", ""},
        {"29/02/2010", "Hiver 2009-2010", "29/02/2010", "Date invalide"}, // no such day
        {"28/02/2010", "Hiver 2009-2010", "28/02/2010", ""},
        {"5/1/2010", "Hiver 2009-2010", "05/01/2010", ""},
        {"31/10/2009", "Hiver 2009-2010", "31/10/2009", outside + "Hiver 2009-2010"},
        {"01/03/2010", "Hiver 2009-2010", "01/03/2010", outside + "Hiver 2009-2010"},
        {"15/01/2009", "", "15/01/2009", outside},
        {"32/01/2010", "Hiver 2009-2010", "32/01/2010", "Date invalide"},
        {"16/06/2010", "Hiver 2009-2010", "16/06/2010", "La date est supérieure à la date du jour"},
        {"15/06/2010", "Hiver 2009-2010", "15/06/2010", outside + "Hiver 2009-2010"}, // today goes on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const VisitDateCheck check = checkVisitDate(c.typed, c.season);
        EXPECT_EQ(check.date, c.date);
        EXPECT_EQ(check.message, c.message);
        EXPECT_EQ(check.accepted(), c.message.isEmpty());
    }
    // The bounds of a winter, in leap and other years alike.
    EXPECT_TRUE(isDateInSeason("29/02/2012", "Hiver 2011-2012"));
    EXPECT_TRUE(isDateInSeason("29/02/2010", "Hiver 2009-2010"));
    EXPECT_FALSE(isDateInSeason("01/03/2012", "Hiver 2011-2012"));
    EXPECT_TRUE(isDateInSeason("01/11/2011", "Hiver 2011-2012"));
    EXPECT_FALSE(isDateInSeason("31/10/2011", "Hiver 2011-2012"));
}
