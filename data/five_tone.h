// Filled by the page that follows.
#pragma once
