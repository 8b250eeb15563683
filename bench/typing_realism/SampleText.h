#pragma once

// A fixed essay of about 1,000 words, written for this benchmark: several
// paragraphs, dialogue, numbers, an em dash, accented words and one emoji.
inline const char *const kSampleText = R"(The Lighthouse Keeper's Daughter

When Mara first climbed the one hundred and twelve steps of the old lighthouse, she was nine years old and convinced that the sea was alive. Her father, who had kept the light for almost twenty years, never argued with her about it. He simply handed her a notebook and said, "Write down what it does, then. Every day, at the same time." She took the job very seriously. By the end of the first winter the notebook held 143 entries, each one dated, each one signed with a small drawing of a gull.

The entries were not always scientific. Some of them described the colour of the water as "angry green" or "tired grey," and one of them, written after a storm in February, simply said that the waves had been too loud to think. But most of them recorded real things: the height of the tide against the painted marks on the jetty, the direction of the wind, the number of fishing boats that went out before seven o'clock. Her father read them every Sunday evening and added his own notes in the margins — short, careful remarks in pencil that she would only understand years later.

"Why do we need to know how many boats go out?" she asked him once.

"Because one day," he said, "somebody will want to know how the harbour changed. And nobody else is counting."

That answer stayed with her. It seemed both important and a little sad, as though the two of them were the last people awake in a house where everyone else had forgotten to watch the clock. She kept counting. In spring she counted the terns that nested on the rocks below the tower; in summer she counted the tourists who walked out along the breakwater and then turned back when the spray reached their shoes. By the time she was twelve, she had filled six notebooks and started a seventh.

The village around the lighthouse was small. There was a bakery, a post office that opened three mornings a week, a church with a crooked spire and a café run by a woman named Renée who had moved there from Lyon and never quite explained why. Renée served coffee in heavy white cups and kept a chalkboard by the door with the day's weather written in careful capitals. Mara liked to compare the chalkboard with her own notebook. They agreed more often than not, which pleased both of them.

"You should be a forecaster," Renée told her one afternoon, sliding a slice of almond cake across the counter. "You have the patience for it."

"I don't want to predict things," Mara said. "I want to remember them."

Renée laughed, but she wrote that sentence on the back of a receipt and pinned it above the coffee machine, where it stayed for eleven years.

Things changed slowly and then all at once. In the autumn when Mara turned fifteen, a letter arrived from the maritime authority. The light was to be automated. A small box of electronics would replace the keeper, the lamp would be switched on and off by a sensor, and the tower would be closed to visitors. Her father read the letter twice at the kitchen table, folded it along its original creases and put it in the drawer with the tide tables. He did not say anything for a long time.

"What happens to the notebooks?" Mara finally asked.

"They're yours," he said. "They were always yours."

The automation took eight months. Engineers came and went in white vans, carrying cables and ladders and cardboard boxes marked with serial numbers. They were polite and efficient and a little bored. One of them, a young man with a shaved head and a gentle voice, asked Mara what she was writing. She showed him. He turned the pages for a long while, then asked if he could photograph a few of them. "This is better data than we have," he said quietly. "Honestly. We've got sensors, but we don't have twenty years of anything."

She did not know what to say to that, so she said nothing, and he took his photographs and went back to work.

On the last night before the new system went live, her father let her switch on the lamp herself. The mechanism was old and heavy; the lever resisted at first, then gave way with a soft clunk, and the great lens began to turn. Light swept across the water in long, slow arcs — north, east, south, west — touching the rocks, the boats, the roofs of the village, the dark line of the horizon. Mara counted the rotations without meaning to. Twelve per minute. She wrote it down.

Years later, when she was a researcher at a coastal institute three hundred kilometres away, people sometimes asked her how she had become interested in long-term observation. She usually gave a sensible answer about statistics and climate records and the value of consistent measurement. It was true, as far as it went. But the real answer was a small, stubborn one: somebody had once told her that nobody else was counting, and she had believed him.

Her father's notes in the margins turned out to be the most valuable part of the collection. He had recorded things she had not thought to measure — the smell of the air before a storm, the way certain birds flew low over the water a day before the wind changed, the exact week each year when the first swallows returned. Some of his remarks were practical; others were almost poetic. "The sea is quiet today," one of them read, "but it is the quiet of someone who is thinking, not sleeping."

When the institute digitised the notebooks, the project took two students an entire summer. They typed every entry, every measurement, every pencilled comment, and they argued about how to encode the drawings of gulls. In the end they scanned those separately. The final archive contained 7,305 daily records, 412 marginal notes and one small coffee stain shaped, according to one of the students, exactly like Portugal.

Mara still visits the lighthouse every summer. The tower is closed, but the caretaker knows her and lets her sit on the bottom step for a while. She brings a notebook — a new one each year — and writes down the tide, the wind and the number of boats. Then she walks to the café, where the chalkboard is still by the door and the receipt is still pinned above the coffee machine, faded almost to nothing.

"Still counting?" Renée asks.

"Still counting," Mara says, and smiles. 🌊
)";
