#pragma once
// Web addresses the program points to.

// The community forum: the help menu opens it, the about text links it.
inline constexpr char kForumUrl[] = "https://forum.example.org/";
// Behind the image of the donation message.
inline constexpr char kDonationUrl[] = "https://don.example.org/";
