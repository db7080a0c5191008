// ovlet render: a picture of a card laid out as a business card.
#pragma once

namespace ovlet_cli {

int RunRender(int argc, char** argv);

}  // namespace ovlet_cli
